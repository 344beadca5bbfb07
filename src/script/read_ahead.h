// What the next click will show, read while the reader waits for it: the picture of
// its first "BMP" line, read once this click's page is out, so that the click that
// shows it only copies it.
#pragma once

#include <optional>

#include "reader/reader_state.h"

struct Reader;

// The slot of the first "BMP" line that a click from slot `from` runs, when it runs
// one before its paragraph's pause with no file switch, restart, choice or end on the
// way: past those the next click's lines are not the table's next ones.
std::optional<int> NextClickPictureSlot(const ScriptTable& lines, int from, bool wait_pending);
// Puts the reading of the next click's picture off until the page is out.
void ReadAheadForNextClick(Reader& r);
