// The context menu. It arrives with the bookmarks and the contents.
#include "app/context_menu.h"

void OnContextMenu(Reader&, Window&, LPARAM) {}
