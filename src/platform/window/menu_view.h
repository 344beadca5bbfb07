// A popup menu drawn by the program itself over the window's page: the open
// levels with their boxes, the item under the pointer or the keys, and what a
// pointer or key does to them. The backend feeds it input and shows its pixels.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/font.h"
#include "platform/window/menu.h"

// The cell height of the menu's text.
constexpr int MENU_TEXT_HEIGHT = 14;

class MenuView {
 public:
  // origin: the root's top-left corner in page pixels; bounds: the page's size.
  MenuView(const Menu& root, int origin_x, int origin_y, const Font* font, int bounds_width,
           int bounds_height);

  struct Outcome {
    bool closed = false;
    std::optional<UINT> command;  // set when an item was picked
  };

  // The pointer moved to (x, y): the item under it is highlighted, a submenu under
  // it opens, deeper levels that it left close.
  void PointerMoved(int x, int y);
  // A button went down or up at (x, y).
  Outcome ButtonDown(int x, int y);
  Outcome ButtonUp(int x, int y);
  // A key by its virtual-key code; a gamepad's buttons as their keys.
  Outcome Key(int virtual_key);

  // The item under the highlight of the deepest level that has one; null for none.
  const MenuItem* HighlightedItem() const;

  // Draws the open levels over a copy of the page.
  void Draw(Bitmap& canvas) const;

  // For tests: the open levels' boxes and highlighted items.
  struct Level {
    const Menu* menu;
    RECT box;
    int hover;  // index of the highlighted item, -1 for none
  };
  const std::vector<Level>& levels() const { return levels_; }

 private:
  int ItemHeight(const MenuItem& item) const;
  RECT ItemRect(const Level& level, int index) const;
  RECT MeasureBox(const Menu& menu, int x, int y) const;
  // The level and item under a point: {-1, -1} outside every box.
  std::pair<int, int> HitTest(int x, int y) const;
  void Hover(int level, int index);
  void OpenSubmenu(int level);
  Outcome Activate(int level);
  void MoveHover(int step);

  const Font* font_;
  int bounds_width_;
  int bounds_height_;
  std::vector<Level> levels_;
};
