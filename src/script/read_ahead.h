// What the next click will show, made ready while the reader waits for it, once this
// click's page is out: the picture of its first "BMP" line is read, so that the click
// only copies it; before a first "BO" line, the picture kept in the background half
// gets its own bitmap, as the hatch would give it.
#pragma once

#include <optional>

#include "reader/reader_state.h"

struct Reader;

// The slot of the first "BMP" or "BO" line that a click from slot `from` runs, when
// it runs one before its paragraph's pause with no file switch, restart, choice or
// end on the way: past those the next click's lines are not the table's next ones.
std::optional<int> NextClickPictureSlot(const ScriptTable& lines, int from, bool wait_pending);
// Puts the reading of the next click's picture off until the page is out.
void ReadAheadForNextClick(Reader& r);
