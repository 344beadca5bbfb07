// Recognising UTF-8 text and converting it to CP932 character by character where
// CP932 lacks one.
#include "platform/utf8_text.h"

#include <algorithm>
#include <cstddef>

#include "platform/shift_jis.h"

namespace {

constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";
constexpr char32_t REPLACEMENT = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// How much of a character the bytes at bytes[pos] are: a whole well-formed one (no
// overlong forms, no surrogates, nothing above U+10FFFF), or else the maximal subpart
// of an ill-formed sequence, the longest start of a character that is there, at least
// its first byte. Each subpart stands for one replacement character, as Unicode counts
// them and iconv and browsers do, so that a cut character never takes a line end.
struct CharacterPart {
  std::size_t length = 0;
  bool whole = false;
};

CharacterPart PartAt(std::string_view bytes, std::size_t pos) {
  const auto at = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = at(pos);
  if (lead < 0x80) return {1, true};
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {1, false};
  }
  std::size_t matched = 1;
  for (; matched < length && pos + matched < bytes.size(); ++matched) {
    const unsigned char byte = at(pos + matched);
    const bool fits = matched == 1 ? byte >= low && byte <= high : IsContinuation(byte);
    if (!fits) break;
  }
  return {matched, matched == length};
}

std::size_t WellFormedLength(std::string_view bytes, std::size_t pos) {
  const CharacterPart part = PartAt(bytes, pos);
  return part.whole ? part.length : 0;
}

char32_t CodePointAt(std::string_view bytes, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  const std::size_t length = std::min(Utf8SequenceLength(lead), bytes.size() - pos);
  if (length == 1) return lead < 0x80 ? lead : REPLACEMENT;
  char32_t code = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i)
    code = code << 6 | (static_cast<unsigned char>(bytes[pos + i]) & 0x3F);
  return code;
}

// A line (from 1) and column (the byte within the line, from 0).
struct TextPlace {
  int line = 1;
  std::size_t column = 0;
};

// The places of offsets in text, which are asked for in order.
class TextPlaces {
 public:
  explicit TextPlaces(std::string_view text) : text_(text) {}
  TextPlace At(std::size_t offset) {
    for (; counted_ < offset; ++counted_) {
      if (text_[counted_] != '\n') continue;
      ++line_;
      line_start_ = counted_ + 1;
    }
    return {line_, offset - line_start_};
  }

 private:
  std::string_view text_;
  std::size_t counted_ = 0;
  std::size_t line_start_ = 0;
  int line_ = 1;
};

}  // namespace

bool IsUtf8Text(std::string_view bytes) {
  if (bytes.substr(0, UTF8_BOM.size()) == UTF8_BOM) return true;
  bool multi_byte = false;
  for (std::size_t pos = 0; pos < bytes.size();) {
    const std::size_t length = WellFormedLength(bytes, pos);
    if (length == 0) return false;
    multi_byte = multi_byte || length > 1;
    pos += length;
  }
  return multi_byte;
}

char32_t NextUtf8Character(std::string_view text_utf8, std::size_t& at) {
  const CharacterPart part = PartAt(text_utf8, at);
  const char32_t code = part.whole ? CodePointAt(text_utf8, at) : REPLACEMENT;
  at += part.length;
  return code;
}

std::size_t WellFormedUtf8Length(std::string_view bytes) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t length = WellFormedLength(bytes, pos);
    if (length == 0) break;
    pos += length;
  }
  return pos;
}

// Each run of well-formed text goes to the converter whole; each maximal subpart of
// ill-formed bytes between runs becomes one 〓.
std::string Utf8TextToShiftJis(ShiftJis& shift_jis, std::string_view text_utf8,
                               std::vector<UnconvertedCharacter>& unconverted) {
  if (text_utf8.substr(0, UTF8_BOM.size()) == UTF8_BOM) text_utf8.remove_prefix(UTF8_BOM.size());
  TextPlaces places(text_utf8);
  std::string text_sjis;
  std::vector<std::size_t> offsets;
  for (std::size_t pos = 0; pos < text_utf8.size();) {
    const std::size_t run = WellFormedUtf8Length(text_utf8.substr(pos));
    offsets.clear();
    text_sjis += shift_jis.FromUtf8Replacing(text_utf8.substr(pos, run), GETA_MARK_SJIS, offsets);
    for (std::size_t offset : offsets) {
      const TextPlace place = places.At(pos + offset);
      unconverted.push_back({CodePointAt(text_utf8, pos + offset), place.line, place.column, {}});
    }
    pos += run;
    if (pos == text_utf8.size()) break;
    const std::size_t length = PartAt(text_utf8, pos).length;
    text_sjis += GETA_MARK_SJIS;
    const TextPlace place = places.At(pos);
    unconverted.push_back(
        {REPLACEMENT, place.line, place.column, std::string(text_utf8.substr(pos, length))});
    pos += length;
  }
  return text_sjis;
}
