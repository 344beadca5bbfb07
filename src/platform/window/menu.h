// Popup menus as the reader builds them: text items with commands, submenus and
// separators, a check mark, and modal tracking by the backend.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32_types.h"

class Platform;
class Window;

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_SEPARATOR = 0x0800;

class Menu;

struct MenuItem {
  enum class Kind { Command, Submenu, Separator };
  Kind kind = Kind::Command;
  UINT command = 0;
  Menu* submenu = nullptr;  // owned by whoever created it
  std::string label_sjis;
  bool checked = false;
};

class Menu {
 public:
  std::vector<MenuItem> items;
};

// The menu's owner releases it; DestroyMenu is that release, made explicit.
std::unique_ptr<Menu> CreatePopupMenu();
void DestroyMenu(std::unique_ptr<Menu>& menu);
// MF_POPUP: item is the submenu; otherwise the command (ignored for a separator).
bool AppendMenuA(Menu& menu, UINT flags, UINT command, const char* label_sjis,
                 Menu* submenu = nullptr);
// Sets or clears the check mark of the item with that command, searched through
// the submenus. Returns the previous state, or -1 when there is no such item.
int CheckMenuItem(Menu& menu, UINT command, UINT check);
// Shows the menu with its top-left corner at a screen position and tracks it until
// it closes; a picked item's command is posted to the window as WM_COMMAND.
bool TrackPopupMenu(Menu& menu, UINT flags, int x, int y, int reserved, Window& window,
                    const RECT* exclude);

// Every item of the menu tree, depth first, for the record.
void ForEachMenuItem(const Menu& menu,
                     const std::function<void(int depth, const MenuItem&)>& visit);
