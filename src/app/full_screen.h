// Full screen: the display at 640 × 480 with the window covering it, and back.
#pragma once

struct Reader;
class Window;

void ToggleFullScreen(Reader& r, Window& window);
