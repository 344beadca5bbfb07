// Recognising UTF-8 text and converting it to CP932 character by character where
// CP932 lacks one.
#include "platform/utf8_text.h"

#include <algorithm>
#include <cstddef>

#include "platform/shift_jis.h"

namespace {

constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 character at bytes[pos], or 0 when there is
// none: no overlong forms, no surrogates, nothing above U+10FFFF.
std::size_t WellFormedLength(std::string_view bytes, std::size_t pos) {
  const auto at = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = at(pos);
  if (lead < 0x80) return 1;
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
    return 0;
  }
  if (pos + length > bytes.size() || at(pos + 1) < low || at(pos + 1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!IsContinuation(at(pos + i))) return 0;
  }
  return length;
}

char32_t CodePointAt(std::string_view bytes, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(bytes[pos]);
  const std::size_t length = std::min(Utf8SequenceLength(lead), bytes.size() - pos);
  if (length == 1) return lead < 0x80 ? lead : U'\uFFFD';
  char32_t code = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i)
    code = code << 6 | (static_cast<unsigned char>(bytes[pos + i]) & 0x3F);
  return code;
}

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

std::size_t WellFormedUtf8Length(std::string_view bytes) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::size_t length = WellFormedLength(bytes, pos);
    if (length == 0) break;
    pos += length;
  }
  return pos;
}

std::string Utf8TextToShiftJis(ShiftJis& shift_jis, std::string_view text_utf8,
                               std::vector<UnconvertedCharacter>& unconverted) {
  if (text_utf8.substr(0, UTF8_BOM.size()) == UTF8_BOM) text_utf8.remove_prefix(UTF8_BOM.size());
  std::vector<std::size_t> offsets;
  std::string text_sjis = shift_jis.FromUtf8Replacing(text_utf8, GETA_MARK_SJIS, offsets);
  int line = 1;
  std::size_t counted = 0;
  for (std::size_t offset : offsets) {
    line +=
        static_cast<int>(std::count(text_utf8.begin() + static_cast<std::ptrdiff_t>(counted),
                                    text_utf8.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
    counted = offset;
    unconverted.push_back({CodePointAt(text_utf8, offset), line});
  }
  return text_sjis;
}
