// Text that today's editors save: UTF-8, recognised as a whole and converted to
// CP932 before anything else reads it, so that the byte rules of the scripts apply
// to the converted text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class ShiftJis;

// "〓", which stands for a character that CP932 lacks.
inline constexpr char GETA_MARK_SJIS[] = "\x81\xAC";

// True for text that begins with the UTF-8 byte order mark, or that is valid UTF-8 as
// a whole and holds at least one multi-byte character. Shift-JIS text with
// double-byte characters practically never is: its common lead bytes 0x81-0x9F cannot
// begin a UTF-8 character.
bool IsUtf8Text(std::string_view bytes);
// The length of the well-formed UTF-8 that bytes begin with.
std::size_t WellFormedUtf8Length(std::string_view bytes);
// The character at text_utf8[at], at moved past it; U+FFFD for the maximal subpart of
// an ill-formed sequence, at least one byte.
char32_t NextUtf8Character(std::string_view text_utf8, std::size_t& at);

// A character of UTF-8 text that CP932 lacks, or bytes that are no UTF-8 character,
// with the line (from 1) and the column (the byte within the line, from 0) where it
// begins.
struct UnconvertedCharacter {
  char32_t code = 0;  // U+FFFD for bytes that are no character
  int line = 0;
  std::size_t column = 0;
  std::string ill_formed;  // those bytes; empty for a character
};

// The CP932 form of UTF-8 text, without its byte order mark; every character that
// CP932 lacks, and every maximal subpart of an ill-formed sequence (the longest start
// of a character that is there, or a byte that begins none), becomes 〓 and is listed
// in unconverted. A line end is never part of one.
std::string Utf8TextToShiftJis(ShiftJis& shift_jis, std::string_view text_utf8,
                               std::vector<UnconvertedCharacter>& unconverted);
