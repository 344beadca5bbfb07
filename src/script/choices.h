// Choices: the list after a "SET" line, the highlight that follows the pointer,
// and the choice that moves the script on.
#pragma once

#include <cstdint>

// The row from which a choice list is drawn down the page, over what stands there.
constexpr std::int32_t CHOICE_LIST_TOP = 100;

#include <cstdint>

struct Reader;
struct ReaderState;
class Window;

void ShowChoices(Reader& r);
void HighlightChoice(Reader& r, Window& window, int index);
void TrackChoiceHover(Reader& r, Window& window, int y);
void SelectChoice(Reader& r, int index, Window& window);
// A pointer row inside the band of choice index, where the pointer highlights it.
std::int64_t ChoiceBandMiddle(std::int32_t font_height, int index);

// True while a choice slot holds a text.
bool HasChoice(const ReaderState& s);
// Goes on behind the ">" line of the list at CurrentLine, as if it offered no choice.
void PassChoiceList(Reader& r, Window& window);
// A choice-text line: a digit 0 to 4, then a double quote.
bool IsChoiceText(const char* line);
// The line of the count-th line, from line 0, whose first byte is "<"; -1 when the
// table holds fewer.
int BlockOpening(const ReaderState& s, std::int64_t count);
// Within the block that opens at block_start, up to its ">" line (or the table's end
// when it has none), a line naming the digit as a way back to line 0.
bool HasBranchTarget(const ReaderState& s, int block_start, char digit);
// The line behind the ">" line of the list that begins at set_line; the end of the
// table for a list without one, which runs to the table's end.
int LineAfterList(const ReaderState& s, int set_line);

// The choice block that reading the file forward from line 0 has opened at a line:
// the "<" lines up to and including it, less one; 0 before the first.
std::int32_t ChoiceBlockAt(const ReaderState& s, int line);
