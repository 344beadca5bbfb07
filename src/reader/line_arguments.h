// The arguments of script commands: numbers in fixed columns and quoted file names.
#pragma once

#include <cstddef>
#include <cstdint>

// True when a line begins with the command's bytes; the rest of the line plays no part.
bool LineBegins(const char* line, const char* command);

// The decimal number in columns first to last of a line: exactly those bytes, or up
// to the line's end when it is shorter.
std::int32_t ColumnNumber(const char* line, int first, int last);

// Where the commands that read numbers take them: the one place that says so, for
// the commands' handlers and for the checker's messages alike.
struct NumberColumns {
  int first;
  int last;
  const char* name;  // in messages: "the reader reads track 5 from columns 3-4"
};
inline constexpr NumberColumns FONT_SIZE_COLUMNS{1, 2, "size"};          // "F"
inline constexpr NumberColumns BRIGHTNESS_COLUMNS{2, 4, "brightness"};   // "FC"
inline constexpr NumberColumns CD_TRACK_COLUMNS{3, 4, "track"};          // "CD"
inline constexpr NumberColumns CD_PERIOD_COLUMNS{6, 9, "period"};        // "CD"
inline constexpr NumberColumns MIDI_PERIOD_COLUMNS{4, 7, "period"};      // "MID"
// "T" takes its title from column 2 and "FI" its script from column 3: the column
// before each is skipped whatever it holds.
inline constexpr int TITLE_COLUMN = 2;
inline constexpr int SCRIPT_NAME_COLUMN = 3;

inline std::int32_t ReadNumber(const char* line, NumberColumns columns) {
  return ColumnNumber(line, columns.first, columns.last);
}

// The bytes between the first and the second double quote of a line. False, with an
// empty name, when the line has fewer than two quotes or the name does not fit.
bool QuotedName(const char* line, char* name, std::size_t size);
