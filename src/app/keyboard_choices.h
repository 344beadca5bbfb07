// Choices by keyboard: the highlight moved over the choices drawn on the page, and
// a choice taken by its number, both through the pointer's own paths.
#pragma once

struct Reader;
class Window;

// step 1 moves the highlight down a choice, -1 up; from no highlight, to the first
// or the last.
void MoveChoiceHighlight(Reader& r, Window& window, int step);
// Takes choice index when it is drawn on the page.
void PickDrawnChoice(Reader& r, Window& window, int index);
