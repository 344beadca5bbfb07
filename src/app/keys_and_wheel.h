// The keyboard and the wheel on the page. Keys that advance (Return, keypad Enter,
// Space, Page Down, the down arrow) and the wheel turned towards the reader do what
// a left click at the pointer does; choices follow the arrows, Return and the
// digits drawn before them; the backlog, auto mode, copying, speech, full screen,
// the menu, the volume, the picture without its text and skipping while Ctrl is
// held have keys of their own.
#pragma once

#include "platform/win32_types.h"

struct Reader;
class Window;

// WM_KEYDOWN or WM_SYSKEYDOWN (a key pressed with Alt).
void OnKeyDown(Reader& r, Window& window, UINT message, WPARAM key, LPARAM lparam);
void OnKeyUp(Reader& r, Window& window, WPARAM key);
void OnMouseWheel(Reader& r, Window& window, WPARAM wparam);
