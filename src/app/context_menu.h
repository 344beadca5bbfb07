// The context menu that opens on the right button's release.
#pragma once

#include "platform/win32_types.h"

struct Reader;
class Window;

void OnContextMenu(Reader& r, Window& window, LPARAM screen_position);
