// Full screen: the display at 640 × 480 with the window covering it, and back; and
// the window out of full screen at a whole factor of the page.
#pragma once

struct Reader;
class Window;

void ToggleFullScreen(Reader& r, Window& window);
// Leaves full screen if the window is in it, and sizes the window to scale x the page.
void ShowAtScale(Reader& r, Window& window, int scale);
