// The status strip at the bottom of the page: the skip indicator, auto mode's and
// speech's at the strip's left end, which the skip indicator's clearing leaves, and
// the note right of the skip indicator (the volume's level, a screenshot's outcome).
// Each stands on a plate of its own in the strip's font, readable over any picture,
// and is cleared back to the background's bottom rows.
#pragma once

#include <string_view>

struct Reader;
class Window;

void ShowSkipIndicator(Reader& r, Window& window);
void ClearStatusStrip(Reader& r, Window& window);
void ShowAutoIndicator(Reader& r, Window& window);
void ClearAutoIndicator(Reader& r, Window& window);
void ShowSpeechIndicator(Reader& r, Window& window);
void ClearSpeechIndicator(Reader& r, Window& window);
void ShowStripNote(Reader& r, Window& window, std::string_view text_sjis);
void ClearStripNote(Reader& r, Window& window);
