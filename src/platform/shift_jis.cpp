// CP932 decoding through iconv, one character at a time so that byte positions stay
// known, with each character converted only the first time it is met.
#include "platform/shift_jis.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

// One iconv handle, closed with its owner.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return handle_ != reinterpret_cast<iconv_t>(static_cast<std::intptr_t>(-1)); }
  // Converts as much as fits; returns false on a byte sequence that does not convert,
  // with in on its first byte.
  bool Run(const char*& in, std::size_t& in_left, char*& out, std::size_t& out_left) {
    // iconv never writes through its input pointer; the interface only lacks const.
    char* in_cursor = const_cast<char*>(in);
    const std::size_t result = iconv(handle_, &in_cursor, &in_left, &out, &out_left);
    in = in_cursor;
    return result != static_cast<std::size_t>(-1) || errno == E2BIG;
  }
  void Reset() { iconv(handle_, nullptr, nullptr, nullptr, nullptr); }

 private:
  iconv_t handle_;
};

}  // namespace

struct ShiftJis::Converters {
  Converter to_utf32{"UTF-32LE", "CP932"};
  Converter from_utf8{"CP932", "UTF-8"};
};

ShiftJis::ShiftJis() : converters_(std::make_unique<Converters>()) {}

ShiftJis::~ShiftJis() = default;

char32_t ShiftJis::DecodeUncached(unsigned char lead, unsigned char trail) {
  const char32_t code = Convert(lead, trail);
  cache_[static_cast<std::size_t>(lead) << 8 | trail] = code + 1;
  return code;
}

char32_t ShiftJis::Convert(unsigned char lead, unsigned char trail) {
  Converter& converter = converters_->to_utf32;
  if (lead != 0 && (!IsShiftJisLeadByte(lead) || !IsShiftJisTrailByte(trail))) {
    return REPLACEMENT;
  }
  if (!converter.ok()) return (lead == 0 && trail < 0x80) ? trail : REPLACEMENT;

  const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
  const char* in = lead == 0 ? bytes + 1 : bytes;
  std::size_t in_left = lead == 0 ? 1 : 2;
  unsigned char utf32[8] = {};
  char* out = reinterpret_cast<char*>(utf32);
  std::size_t out_left = sizeof utf32;
  const bool converted = converter.Run(in, in_left, out, out_left);
  converter.Reset();
  // Exactly one character from exactly these bytes, or the pair is not one character.
  if (!converted || in_left != 0 || out_left != sizeof utf32 - 4) return REPLACEMENT;
  const char32_t code = static_cast<char32_t>(utf32[0]) | static_cast<char32_t>(utf32[1]) << 8 |
                        static_cast<char32_t>(utf32[2]) << 16 |
                        static_cast<char32_t>(utf32[3]) << 24;
  return code > 0x10FFFF ? REPLACEMENT : code;
}

std::string ShiftJis::ToUtf8(std::string_view text_sjis) {
  std::string text_utf8;
  text_utf8.reserve(text_sjis.size() + text_sjis.size() / 2);
  for (std::size_t pos = 0; pos < text_sjis.size();) {
    const std::size_t length = ShiftJisWholeCharacterLength(text_sjis, pos);
    const auto byte = static_cast<unsigned char>(text_sjis[pos]);
    // A lone lead byte gives U+FFFD.
    AppendUtf8(text_utf8, length == 2 ? Decode(byte, static_cast<unsigned char>(text_sjis[pos + 1]))
                                      : DecodeSingle(byte));
    pos += length;
  }
  return text_utf8;
}

std::optional<std::string> ShiftJis::FromUtf8(std::string_view text_utf8) {
  Converter& converter = converters_->from_utf8;
  if (!converter.ok()) return std::nullopt;
  // A CP932 character never takes more bytes than its UTF-8 form; the loop is only a
  // safeguard.
  std::string text_sjis(text_utf8.size() + 4, '\0');
  const char* in = text_utf8.data();
  std::size_t in_left = text_utf8.size();
  std::size_t written = 0;
  bool converted = true;
  while (converted && in_left > 0) {
    char* out = text_sjis.data() + written;
    std::size_t out_left = text_sjis.size() - written;
    converted = converter.Run(in, in_left, out, out_left);
    written = text_sjis.size() - out_left;
    if (converted && in_left > 0) text_sjis.resize(text_sjis.size() * 2);
  }
  converter.Reset();
  if (!converted) return std::nullopt;
  text_sjis.resize(written);
  return text_sjis;
}

std::string ShiftJis::FromUtf8Replacing(std::string_view text_utf8,
                                        std::string_view replacement_sjis,
                                        std::vector<std::size_t>& unconverted) {
  Converter& converter = converters_->from_utf8;
  std::string text_sjis;
  text_sjis.reserve(text_utf8.size() + 4);
  const char* in = text_utf8.data();
  std::size_t in_left = text_utf8.size();
  char chunk[4096];
  while (in_left > 0) {
    char* out = chunk;
    std::size_t out_left = sizeof chunk;
    const bool converted = converter.ok() && converter.Run(in, in_left, out, out_left);
    text_sjis.append(chunk, sizeof chunk - out_left);
    if (converted) continue;
    // The character at in has no CP932 form: its replacement, then the next one.
    unconverted.push_back(static_cast<std::size_t>(in - text_utf8.data()));
    const auto lead = static_cast<unsigned char>(*in);
    const std::size_t length = std::min(Utf8SequenceLength(lead), in_left);
    in += length;
    in_left -= length;
    text_sjis.append(replacement_sjis);
    if (converter.ok()) converter.Reset();
  }
  if (converter.ok()) converter.Reset();
  return text_sjis;
}

std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead < 0xC0) return 1;
  if (lead < 0xE0) return 2;
  return lead < 0xF0 ? 3 : 4;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) code = REPLACEMENT;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}
