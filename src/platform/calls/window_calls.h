// The calls that make the platform's one window and reach the desktop around it:
// the window's class and creation, the pointer's place and the clipboard.
#pragma once

#include <string_view>

#include "platform/win32_types.h"
#include "platform/window/window.h"

class Platform;

bool RegisterClassExA(Platform& platform, const WNDCLASSEXA& window_class);
// Creates the window and delivers WM_CREATE before it returns. Null for an unknown class.
Window* CreateWindowExA(Platform& platform, DWORD ex_style, const char* class_name,
                        const char* caption_sjis, DWORD style, int x, int y, int width,
                        int height);
// The pointer's position in screen coordinates; the client area's top-left corner
// when the backend cannot tell.
bool GetCursorPos(Platform& platform, POINT* point);
// Replaces the clipboard's contents with a text.
bool SetClipboardText(Platform& platform, std::string_view text_utf8);
