// The main window's style and its place in the middle of the screen, shared by
// start-up and the way back from full screen.
#pragma once

#include "platform/win32_types.h"

class Platform;
class Window;

constexpr DWORD WINDOWED_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// 640 wide and 480 high plus the caption and four borders, centred, not topmost.
void PlaceWindowCentred(Platform& platform, Window& window);
