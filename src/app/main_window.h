// The entry point and the main window: start-up, paint and teardown, and the
// window procedure that hands every other message to its handler.
#pragma once

#include "platform/win32_types.h"

struct Reader;
class Window;

int WinMain(Reader& r, int show_command);
LRESULT MainWindowProc(Reader& r, Window& window, UINT message, WPARAM wparam, LPARAM lparam);
