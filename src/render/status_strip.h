// The status strip at the bottom of the page: the skip indicator drawn over its
// backdrop, and the strip restored from the background's bottom rows.
#pragma once

struct Reader;
class Window;

void ShowSkipIndicator(Reader& r, Window& window);
void ClearStatusStrip(Reader& r, Window& window);
