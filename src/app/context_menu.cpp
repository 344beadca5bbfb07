// The context menu: built anew from the current labels each time it opens, shown
// at the pointer, and gone again once a command is picked or it is closed.
#include "app/context_menu.h"

#include "app/reader.h"
#include "app/texts.h"
#include "platform/window/menu.h"

void OnContextMenu(Reader& r, Window& window, LPARAM screen_position) {
  ReaderState& s = r.state;
  std::unique_ptr<Menu> root = CreatePopupMenu();
  std::unique_ptr<Menu> contents = CreatePopupMenu();
  std::unique_ptr<Menu> bookmarks = CreatePopupMenu();
  std::unique_ptr<Menu> save = CreatePopupMenu();
  std::unique_ptr<Menu> open = CreatePopupMenu();

  AppendMenuA(*root, MF_POPUP, 0, texts::kMenuContents, contents.get());
  // An entry keeps the command of its slot, also when a slot before it is empty.
  for (int entry = 0; entry < TOC_COUNT; ++entry) {
    if (s.TocLabels[entry][0] != '\0') AppendMenuA(*contents, MF_STRING, IDM_TOC_FIRST + entry, s.TocLabels[entry]);
  }
  AppendMenuA(*root, MF_POPUP, 0, texts::kMenuBookmarks, bookmarks.get());
  AppendMenuA(*bookmarks, MF_POPUP, 0, texts::kMenuSave, save.get());
  for (int slot = 0; slot < BOOKMARK_COUNT; ++slot) {
    AppendMenuA(*save, MF_STRING, IDM_BOOKMARK_SAVE_FIRST + slot, s.BookmarkLabels[slot]);
  }
  AppendMenuA(*bookmarks, MF_POPUP, 0, texts::kMenuOpen, open.get());
  for (int slot = 0; slot < BOOKMARK_COUNT; ++slot) {
    AppendMenuA(*open, MF_STRING, IDM_BOOKMARK_LOAD_FIRST + slot, s.BookmarkLabels[slot]);
  }
  AppendMenuA(*root, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(*root, MF_STRING, IDM_FULLSCREEN, texts::kMenuFullScreen);
  AppendMenuA(*root, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(*root, MF_STRING, IDM_SKIP, texts::kMenuSkip);
  AppendMenuA(*root, MF_STRING, IDM_BACK_PAGE, texts::kMenuBackPage);
  AppendMenuA(*root, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(*root, MF_STRING, IDM_CANCEL, texts::kMenuCancel);
  AppendMenuA(*root, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(*root, MF_STRING, IDM_EXIT, texts::kMenuExit);
  CheckMenuItem(*root, IDM_FULLSCREEN, MF_BYCOMMAND | (s.IsFullScreen == 1 ? MF_CHECKED : MF_UNCHECKED));

  const int x = LOWORD(static_cast<std::uintptr_t>(screen_position));
  const int y = HIWORD(static_cast<std::uintptr_t>(screen_position));
  TrackPopupMenu(*root, 0, x, y, 0, window, nullptr);

  DestroyMenu(open);
  DestroyMenu(save);
  DestroyMenu(bookmarks);
  DestroyMenu(contents);
  DestroyMenu(root);
}
