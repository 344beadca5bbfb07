// The status strip's note: a few words that say what a key did (the volume's level, a
// screenshot saved or not), shown for a moment right of the skip indicator. The newer
// note takes the older one's place and its time.
#pragma once

#include <string_view>

#include "platform/win32_types.h"

struct Reader;
class Window;

void ShowNoteForAMoment(Reader& r, Window& window, std::string_view text_sjis, UINT shown_ms);
// Takes the note off the strip before its time, when one is shown.
void HideNote(Reader& r, Window& window);
void OnStripNoteTick(Reader& r, Window& window);
