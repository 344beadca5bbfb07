// The context menu that opens on the right button's release.
#pragma once

#include <memory>

#include "platform/win32_types.h"
#include "platform/window/menu.h"

struct Reader;
struct ReaderState;
class Window;

// The menu tree, built anew from the current labels each time it opens.
struct ContextMenu {
  std::unique_ptr<Menu> root = CreatePopupMenu();
  std::unique_ptr<Menu> contents = CreatePopupMenu();
  std::unique_ptr<Menu> bookmarks = CreatePopupMenu();
  std::unique_ptr<Menu> save = CreatePopupMenu();
  std::unique_ptr<Menu> open = CreatePopupMenu();
};
ContextMenu BuildContextMenu(const ReaderState& s);

void OnContextMenu(Reader& r, Window& window, LPARAM screen_position);
