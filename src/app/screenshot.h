// Screenshots: F12 and Print write what the window shows, 640 x 480, as a PNG file
// in the user's pictures folder, yomu/TITLE-YYYYMMDD-HHMMSS.png (TITLE the window's
// caption, else the novel's folder or archive), never over a file that is there, and
// say on the status strip for a moment whether it was saved.
#pragma once

#include "platform/win32_types.h"

struct Reader;
class Window;

bool IsScreenshotKey(WPARAM key);
// Writes the screenshot: the record "screenshot PATH", or one line when it cannot be.
void TakeScreenshot(Reader& r, Window& window);
