// The read marks' file, "read-marks" in the novel's per-user folder: a first line
// that names the format, then one mark a line as 16 hex digits, ascending. It is
// written whole beside the old one and renamed over it, at most every few seconds
// while marks are added and at the end, so a crash loses the marks of those seconds
// at most. A file that is no such file, or holds more than READ_MARKS_MAX marks, is
// not used, with a warning; the next save replaces it.
#pragma once

#include <cstdint>

struct Reader;

// How long marks may wait for the file while the reader reads on.
constexpr std::uint64_t READ_MARKS_SAVE_EVERY_MS = 5000;

void LoadReadMarks(Reader& r);
// Writes the marks when some were added since the file was last written.
void SaveReadMarks(Reader& r);
// The same, once READ_MARKS_SAVE_EVERY_MS have passed since the last write.
void SaveReadMarksWhenDue(Reader& r);
