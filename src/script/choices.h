// Choices: the list after a "SET" line, the highlight that follows the pointer,
// and the choice that moves the script on.
#pragma once

#include <cstdint>

struct Reader;
class Window;

void ShowChoices(Reader& r);
void HighlightChoice(Reader& r, Window& window, int index);
void TrackChoiceHover(Reader& r, Window& window, int y);
void SelectChoice(Reader& r, int index, Window& window);
// A pointer row inside the band of choice index, where the pointer highlights it.
std::int64_t ChoiceBandMiddle(std::int32_t font_height, int index);
