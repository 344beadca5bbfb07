// The status strip at the bottom of the page: the skip indicator drawn over its
// backdrop, and the strip restored from the background's bottom rows; auto mode's
// and speech's indicators at the strip's left end, which the skip indicator's
// clearing leaves, and the volume's right of the skip indicator.
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
void ShowVolumeIndicator(Reader& r, Window& window, std::string_view text_sjis);
void ClearVolumeIndicator(Reader& r, Window& window);
