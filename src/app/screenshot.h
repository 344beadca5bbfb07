// Screenshots: F12 and Print write what the window shows, 640 x 480, as a PNG file
// in the user's pictures folder, yomu/NOVEL-YYYYMMDD-HHMMSS.png, never over a file
// that is there.
#pragma once

#include "platform/win32_types.h"

struct Reader;
class Window;

bool IsScreenshotKey(WPARAM key);
// Writes the screenshot: the record "screenshot PATH", or one line when it cannot be.
void TakeScreenshot(Reader& r, const Window& window);
