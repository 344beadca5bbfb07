// Shift-JIS (code page 932) text: character boundaries, decoding to Unicode and
// conversion to and from UTF-8. CP932, not strict Shift_JIS: the NEC and IBM
// extensions (①, Ⅰ, 髙) are ordinary characters of the novels.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>


// True for a byte that starts a double-byte character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// True for a byte that can end a double-byte character (0x40-0x7E, 0x80-0xFC).
constexpr bool IsShiftJisTrailByte(unsigned char byte) {
  return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// The bytes of the character at text[pos]: a lead byte takes the byte after it along,
// whatever that byte is, unless the text ends with the lead byte. The old reader
// stepped through lines and names so.
constexpr std::size_t ShiftJisCharacterLength(std::string_view text, std::size_t pos) {
  return IsShiftJisLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// As ShiftJisCharacterLength, but a lead byte pairs only with a byte that can end a
// character; otherwise it is half a character, one byte long. Text is decoded and
// drawn so.
constexpr std::size_t ShiftJisWholeCharacterLength(std::string_view text, std::size_t pos) {
  return ShiftJisCharacterLength(text, pos) == 2 &&
                 IsShiftJisTrailByte(static_cast<unsigned char>(text[pos + 1]))
             ? 2
             : 1;
}

class ShiftJis {
 public:
  ShiftJis();
  ~ShiftJis();
  ShiftJis(const ShiftJis&) = delete;
  ShiftJis& operator=(const ShiftJis&) = delete;

  // The Unicode character of one CP932 character: a single byte (lead = 0) or a lead
  // and a trail byte. U+FFFD for a pair or byte that CP932 does not map.
  char32_t Decode(unsigned char lead, unsigned char trail) {
    const char32_t cached = cache_[static_cast<std::size_t>(lead) << 8 | trail];
    return cached != NOT_YET ? cached - 1 : DecodeUncached(lead, trail);
  }
  char32_t DecodeSingle(unsigned char byte) { return Decode(0, byte); }

  // Whole strings. Bytes that do not convert come out as U+FFFD (to UTF-8) or give
  // no result at all (from UTF-8).
  std::string ToUtf8(std::string_view text_sjis);
  std::optional<std::string> FromUtf8(std::string_view text_utf8);
  // Valid UTF-8 text to CP932, every character that CP932 lacks written as
  // replacement_sjis; the byte offsets of those characters in text_utf8 are added to
  // unconverted.
  std::string FromUtf8Replacing(std::string_view text_utf8, std::string_view replacement_sjis,
                                std::vector<std::size_t>& unconverted);

 private:
  static constexpr char32_t NOT_YET = 0;
  static constexpr std::size_t CACHE_SIZE = 65536;
  struct Converters;  // the iconv handles, kept out of this header
  char32_t DecodeUncached(unsigned char lead, unsigned char trail);
  char32_t Convert(unsigned char lead, unsigned char trail);

  std::unique_ptr<Converters> converters_;
  // Decoded characters plus one by (lead << 8 | trail), filled on first use so that
  // start-up converts nothing. Zero stands for a pair not met yet.
  std::unique_ptr<char32_t[]> cache_ = std::make_unique<char32_t[]>(CACHE_SIZE);
};

void AppendUtf8(std::string& out, char32_t code);
// The bytes of the UTF-8 character that begins with lead (1 for a byte that cannot begin one).
std::size_t Utf8SequenceLength(unsigned char lead);
