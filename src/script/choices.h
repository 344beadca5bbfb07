// Choices: the list after a "SET" line, the highlight that follows the pointer,
// and the choice that moves the script on.
#pragma once

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
// The choice block that reading the file forward from line 0 has opened at a line:
// the "<" lines up to and including it, less one; 0 before the first.
std::int32_t ChoiceBlockAt(const ReaderState& s, int line);
