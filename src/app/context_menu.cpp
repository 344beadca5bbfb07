// The context menu: built anew from the current labels each time it opens, shown
// at the pointer, and gone again once a command is picked or it is closed.
#include "app/context_menu.h"

#include "platform/calls/window_calls.h"
#include "reader/reader.h"
#include "reader/texts.h"

ContextMenu BuildContextMenu(const ReaderState& s) {
  ContextMenu menu;
  AppendMenuA(*menu.root, MF_POPUP, 0, texts::MENU_CONTENTS, menu.contents.get());
  // An entry keeps the command of its slot, also when a slot before it is empty.
  for (int entry = 0; entry < TOC_COUNT; ++entry) {
    if (s.TocLabels[entry][0] != '\0')
      AppendMenuA(*menu.contents, MF_STRING, IDM_TOC_FIRST + entry, s.TocLabels[entry]);
  }
  AppendMenuA(*menu.root, MF_POPUP, 0, texts::MENU_BOOKMARKS, menu.bookmarks.get());
  AppendMenuA(*menu.bookmarks, MF_POPUP, 0, texts::MENU_SAVE, menu.save.get());
  for (int slot = 0; slot < BOOKMARK_COUNT; ++slot) {
    AppendMenuA(*menu.save, MF_STRING, IDM_BOOKMARK_SAVE_FIRST + slot, s.BookmarkLabels[slot]);
  }
  AppendMenuA(*menu.bookmarks, MF_POPUP, 0, texts::MENU_OPEN, menu.open.get());
  for (int slot = 0; slot < BOOKMARK_COUNT; ++slot) {
    AppendMenuA(*menu.open, MF_STRING, IDM_BOOKMARK_LOAD_FIRST + slot, s.BookmarkLabels[slot]);
  }
  AppendMenuA(*menu.root, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(*menu.root, MF_STRING, IDM_FULLSCREEN, texts::MENU_FULL_SCREEN);
  AppendMenuA(*menu.root, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(*menu.root, MF_STRING, IDM_SKIP, texts::MENU_SKIP);
  AppendMenuA(*menu.root, MF_STRING, IDM_BACK_PAGE, texts::MENU_BACK_PAGE);
  AppendMenuA(*menu.root, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(*menu.root, MF_STRING, IDM_CANCEL, texts::MENU_CANCEL);
  AppendMenuA(*menu.root, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(*menu.root, MF_STRING, IDM_EXIT, texts::MENU_EXIT);
  CheckMenuItem(*menu.root, IDM_FULLSCREEN,
                MF_BYCOMMAND | (s.IsFullScreen == 1 ? MF_CHECKED : MF_UNCHECKED));
  return menu;
}

void OnContextMenu(Reader& r, Window& window, LPARAM screen_position) {
  ContextMenu menu = BuildContextMenu(r.state);
  POINT at{LOWORD(static_cast<std::uintptr_t>(screen_position)),
           HIWORD(static_cast<std::uintptr_t>(screen_position))};
  // From the keyboard or the pad (the position -1): at the pointer.
  if (at.x == 0xFFFF && at.y == 0xFFFF) GetCursorPos(r.platform, &at);
  TrackPopupMenu(*menu.root, 0, at.x, at.y, 0, window, nullptr);
  // The whole tree goes: the submenus first, then the root.
  DestroyMenu(menu.open);
  DestroyMenu(menu.save);
  DestroyMenu(menu.bookmarks);
  DestroyMenu(menu.contents);
  DestroyMenu(menu.root);
}
