// A popup menu drawn over the page: layout, input and drawing.
#include "platform/window/menu_view.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/surface.h"
#include "platform/gdi/text.h"
#include "platform/window/desktop_frame.h"
#include "platform/window/virtual_keys.h"

namespace {

constexpr int ITEM_HEIGHT = 20;
constexpr int SEPARATOR_HEIGHT = 9;
constexpr int BORDER = 3;
constexpr int CHECK_COLUMN = 20;  // room for the check mark before the label
constexpr int ARROW_COLUMN = 22;  // room for a submenu's arrow after it
constexpr int SUBMENU_OVERLAP = 3;

using desktop::DARK;
using desktop::DrawFrame;
using desktop::Fill;
using desktop::HIGHLIGHT;
using desktop::LIGHT;
using desktop::Line;
using desktop::SHADOW;

bool Inside(const RECT& box, int x, int y) {
  return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
}

bool Selectable(const MenuItem& item) { return item.kind != MenuItem::Kind::Separator; }

void DrawCheck(Surface& surface, int x, int y, COLORREF color) {
  for (int k = 0; k < 2; ++k) {
    Line(surface, x, y + 4 + k, x + 3, y + 7 + k, color);
    Line(surface, x + 3, y + 7 + k, x + 9, y + 1 + k, color);
  }
}

void DrawArrow(Surface& surface, int x, int y, COLORREF color) {
  for (int k = 0; k < 4; ++k) Line(surface, x + k, y + k, x + k, y + 8 - k, color);
}

}  // namespace

MenuView::MenuView(const Menu& root, int origin_x, int origin_y, const Font* font, int bounds_width,
                   int bounds_height)
    : font_(font), bounds_width_(bounds_width), bounds_height_(bounds_height) {
  levels_.push_back({&root, MeasureBox(root, origin_x, origin_y), -1});
}

int MenuView::ItemHeight(const MenuItem& item) const {
  return item.kind == MenuItem::Kind::Separator ? SEPARATOR_HEIGHT : ITEM_HEIGHT;
}

// A box at (x, y), moved back inside the page where it would run past an edge.
RECT MenuView::MeasureBox(const Menu& menu, int x, int y) const {
  int width = 0;
  int height = 2 * BORDER;
  for (const MenuItem& item : menu.items) {
    height += ItemHeight(item);
    if (font_ != nullptr) {
      width = std::max(width, TextWidth(*font_, item.label_sjis.c_str(),
                                        static_cast<int>(item.label_sjis.size())));
    }
  }
  width += CHECK_COLUMN + ARROW_COLUMN + 2 * BORDER;
  x = std::max(0, std::min(x, bounds_width_ - width));
  y = std::max(0, std::min(y, bounds_height_ - height));
  return {x, y, x + width, y + height};
}

RECT MenuView::ItemRect(const Level& level, int index) const {
  int top = level.box.top + BORDER;
  for (int k = 0; k < index; ++k) top += ItemHeight(level.menu->items[k]);
  return {level.box.left + BORDER, top, level.box.right - BORDER,
          top + ItemHeight(level.menu->items[index])};
}

std::pair<int, int> MenuView::HitTest(int x, int y) const {
  for (int level = static_cast<int>(levels_.size()) - 1; level >= 0; --level) {
    if (!Inside(levels_[level].box, x, y)) continue;
    for (int index = 0; index < static_cast<int>(levels_[level].menu->items.size()); ++index) {
      if (Inside(ItemRect(levels_[level], index), x, y)) return {level, index};
    }
    return {level, -1};
  }
  return {-1, -1};
}

void MenuView::Hover(int level, int index) {
  levels_.resize(level + 1);
  levels_[level].hover = index;
}

// Opens the submenu of the level's highlighted item beside it, on the side where
// it fits.
void MenuView::OpenSubmenu(int level) {
  const Level& parent = levels_[level];
  const MenuItem& item = parent.menu->items[parent.hover];
  if (item.kind != MenuItem::Kind::Submenu || item.submenu == nullptr) return;
  const RECT row = ItemRect(parent, parent.hover);
  RECT box = MeasureBox(*item.submenu, parent.box.right - SUBMENU_OVERLAP, row.top - BORDER);
  const int width = box.right - box.left;
  if (parent.box.right - SUBMENU_OVERLAP + width > bounds_width_) {
    const int left = std::max(0, parent.box.left + SUBMENU_OVERLAP - width);
    box.left = left;
    box.right = left + width;
  }
  levels_.resize(level + 1);
  levels_.push_back({item.submenu, box, -1});
}

void MenuView::PointerMoved(int x, int y) {
  const auto [level, index] = HitTest(x, y);
  if (level < 0) return;
  if (index < 0 || !Selectable(levels_[level].menu->items[index])) {
    Hover(level, -1);
    return;
  }
  const bool already_open =
      levels_[level].hover == index && static_cast<int>(levels_.size()) > level + 1;
  if (already_open) {
    levels_.resize(level + 2);
    levels_[level + 1].hover = -1;
    return;
  }
  Hover(level, index);
  OpenSubmenu(level);
}

MenuView::Outcome MenuView::ButtonDown(int x, int y) {
  // A press outside every box closes the menu; inside, the release decides.
  if (HitTest(x, y).first < 0) return {true, std::nullopt};
  return {};
}

MenuView::Outcome MenuView::ButtonUp(int x, int y) {
  const auto [level, index] = HitTest(x, y);
  if (level < 0 || index < 0) return {};
  const MenuItem& item = levels_[level].menu->items[index];
  if (item.kind != MenuItem::Kind::Command) return {};
  return {true, item.command};
}

MenuView::Outcome MenuView::Activate(int level) {
  const Level& current = levels_[level];
  if (current.hover < 0) return {};
  const MenuItem& item = current.menu->items[current.hover];
  if (item.kind == MenuItem::Kind::Command) return {true, item.command};
  OpenSubmenu(level);
  MoveHover(1);
  return {};
}

// Moves the highlight of the deepest level to the next selectable item.
void MenuView::MoveHover(int step) {
  Level& level = levels_.back();
  const int count = static_cast<int>(level.menu->items.size());
  if (count == 0) return;
  int index = level.hover;
  for (int tries = 0; tries < count; ++tries) {
    index = index < 0 ? (step > 0 ? 0 : count - 1) : (index + step + count) % count;
    if (Selectable(level.menu->items[index])) {
      level.hover = index;
      return;
    }
  }
}

MenuView::Outcome MenuView::Key(int virtual_key) {
  const int deepest = static_cast<int>(levels_.size()) - 1;
  switch (virtual_key) {
    // A pad's d-pad moves as the arrows do, A picks, B goes back a level, and Start,
    // which opened the menu, closes it.
    case VK_GAMEPAD_DPAD_UP: return Key(VK_UP);
    case VK_GAMEPAD_DPAD_DOWN: return Key(VK_DOWN);
    case VK_GAMEPAD_DPAD_LEFT: return Key(VK_LEFT);
    case VK_GAMEPAD_DPAD_RIGHT: return Key(VK_RIGHT);
    case VK_GAMEPAD_A: return Key(VK_RETURN);
    case VK_GAMEPAD_B: return Key(VK_ESCAPE);
    case VK_GAMEPAD_MENU: return {true, std::nullopt};
    case VK_UP: MoveHover(-1); return {};
    case VK_DOWN: MoveHover(1); return {};
    case VK_RIGHT: {
      const Level& level = levels_[deepest];
      if (level.hover >= 0 && level.menu->items[level.hover].kind == MenuItem::Kind::Submenu)
        return Activate(deepest);
      return {};
    }
    case VK_LEFT:
      if (deepest > 0) levels_.pop_back();
      return {};
    case VK_RETURN: return Activate(deepest);
    case VK_ESCAPE:
      if (deepest == 0) return {true, std::nullopt};
      levels_.pop_back();
      return {};
    default: return {};
  }
}

const MenuItem* MenuView::HighlightedItem() const {
  for (auto level = levels_.rbegin(); level != levels_.rend(); ++level) {
    if (level->hover >= 0) return &level->menu->items[level->hover];
  }
  return nullptr;
}

void MenuView::Draw(Bitmap& canvas) const {
  Surface surface;
  surface.bitmap = &canvas;
  surface.font = font_;
  surface.background_mode = TRANSPARENT;
  for (const Level& level : levels_) {
    DrawFrame(surface, level.box);
    for (int index = 0; index < static_cast<int>(level.menu->items.size()); ++index) {
      const MenuItem& item = level.menu->items[index];
      const RECT row = ItemRect(level, index);
      if (item.kind == MenuItem::Kind::Separator) {
        const int middle = (row.top + row.bottom) / 2;
        Line(surface, row.left + 1, middle - 1, row.right - 1, middle - 1, SHADOW);
        Line(surface, row.left + 1, middle, row.right - 1, middle, LIGHT);
        continue;
      }
      const bool lit = index == level.hover;
      if (lit) Fill(surface, row, HIGHLIGHT);
      const COLORREF ink = lit ? LIGHT : DARK;
      const int text_top =
          row.top + (ITEM_HEIGHT - (font_ != nullptr ? font_->cell_height() : 0)) / 2;
      if (item.checked) DrawCheck(surface, row.left + 5, row.top + 5, ink);
      SetTextColor(surface, ink);
      TextOutA(surface, row.left + CHECK_COLUMN, text_top, item.label_sjis.c_str(),
               static_cast<int>(item.label_sjis.size()));
      if (item.kind == MenuItem::Kind::Submenu)
        DrawArrow(surface, row.right - 12, row.top + 6, ink);
    }
  }
}
