// Full screen. It arrives with the context menu.
#include "app/full_screen.h"

void ToggleFullScreen(Reader&, Window&) {}
