// The pointer's place, which the keys that stand for a click ask for.
#pragma once

#include "platform/window/window.h"

class Platform;

// The pointer's position in screen coordinates; the client area's top-left corner
// when the backend cannot tell.
bool GetCursorPos(Platform& platform, POINT* point);
