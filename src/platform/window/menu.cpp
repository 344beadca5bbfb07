// Popup menus.
#include "platform/window/menu.h"

#include <cstdio>

#include "platform/window/message_queue.h"
#include "platform/window/window.h"

namespace {

MenuItem* FindCommand(Menu& menu, UINT command) {
  for (MenuItem& item : menu.items) {
    if (item.kind == MenuItem::Kind::Command && item.command == command) return &item;
    if (item.kind == MenuItem::Kind::Submenu && item.submenu != nullptr) {
      if (MenuItem* found = FindCommand(*item.submenu, command)) return found;
    }
  }
  return nullptr;
}

void Visit(const Menu& menu, int depth, const std::function<void(int, const MenuItem&)>& visit) {
  for (const MenuItem& item : menu.items) {
    visit(depth, item);
    if (item.kind == MenuItem::Kind::Submenu && item.submenu != nullptr)
      Visit(*item.submenu, depth + 1, visit);
  }
}

// "menu item DEPTH KIND[ checked] LABEL", KIND the command, popup or separator.
std::string Describe(WindowHost& host, int depth, const MenuItem& item) {
  char head[64];
  if (item.kind == MenuItem::Kind::Separator) {
    std::snprintf(head, sizeof head, "menu item %d separator", depth);
    return head;
  }
  if (item.kind == MenuItem::Kind::Submenu) {
    std::snprintf(head, sizeof head, "menu item %d popup ", depth);
  } else {
    std::snprintf(head, sizeof head, "menu item %d %u %s", depth, item.command,
                  item.checked ? "checked " : "");
  }
  return head + host.ToUtf8(item.label_sjis);
}

}  // namespace

std::unique_ptr<Menu> CreatePopupMenu() { return std::make_unique<Menu>(); }

void DestroyMenu(std::unique_ptr<Menu>& menu) { menu.reset(); }

bool AppendMenuA(Menu& menu, UINT flags, UINT command, const char* label_sjis, Menu* submenu) {
  MenuItem item;
  if (flags & MF_SEPARATOR) {
    item.kind = MenuItem::Kind::Separator;
  } else if (flags & MF_POPUP) {
    if (submenu == nullptr) return false;
    item.kind = MenuItem::Kind::Submenu;
    item.submenu = submenu;
  } else {
    item.command = command;
  }
  if (label_sjis != nullptr && item.kind != MenuItem::Kind::Separator) item.label_sjis = label_sjis;
  item.checked = (flags & MF_CHECKED) != 0;
  menu.items.push_back(std::move(item));
  return true;
}

int CheckMenuItem(Menu& menu, UINT command, UINT check) {
  MenuItem* item = FindCommand(menu, command);
  if (item == nullptr) return -1;
  const int previous =
      item->checked ? static_cast<int>(MF_CHECKED) : static_cast<int>(MF_UNCHECKED);
  item->checked = (check & MF_CHECKED) != 0;
  return previous;
}

void ForEachMenuItem(const Menu& menu,
                     const std::function<void(int depth, const MenuItem&)>& visit) {
  Visit(menu, 0, visit);
}

bool TrackPopupMenu(Menu& menu, UINT, int x, int y, int, Window& window, const RECT*) {
  WindowHost& host = window.host();
  char head[48];
  std::snprintf(head, sizeof head, "menu open %d %d", x, y);
  host.Record(head);
  ForEachMenuItem(menu, [&](int depth, const MenuItem& item) {
    host.Record(Describe(host, depth, item));
  });
  const std::optional<UINT> picked = host.TrackMenu(menu, x, y);
  if (!picked) return false;
  PostMessageA(window, WM_COMMAND, *picked, 0);
  return true;
}
