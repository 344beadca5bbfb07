// Clicks, mouse moves and timers, by the reader's mode.
#pragma once

#include "platform/win32_types.h"

struct Reader;
class Window;

void OnLeftButtonDown(Reader& r, Window& window);
void OnRightButtonDown(Reader& r, Window& window);
void OnMouseMove(Reader& r, Window& window, int y);
void OnTimer(Reader& r, Window& window, UINT timer);
