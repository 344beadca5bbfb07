// Skip mode: automatic advance every 50 ms, its indicator in the status strip at
// the bottom of the page, and the strip's clearing.
#pragma once

struct Reader;
class Window;

void StartSkipMode(Reader& r, Window& window);
void StopSkipMode(Reader& r, Window& window);
void ShowSkipIndicator(Reader& r, Window& window);
void ClearStatusStrip(Reader& r, Window& window);
