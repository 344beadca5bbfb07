// The menu drawn over the page: it stays inside the page, opens submenus on hover
// and answers the keys.
#include <gtest/gtest.h>

#include "platform/shift_jis.h"
#include "platform/window/menu_view.h"
#include "platform/window/virtual_keys.h"
#include "support/novel.h"

namespace {

class MenuViewTest : public ::testing::Test {
 protected:
  MenuViewTest() {
    AppendMenuA(*root_, MF_POPUP, 0, "contents", sub_.get());
    AppendMenuA(*sub_, MF_STRING, 500, "chapter one");
    AppendMenuA(*sub_, MF_STRING, 501, "chapter two");
    AppendMenuA(*root_, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(*root_, MF_STRING, 520, "skip");
    AppendMenuA(*root_, MF_STRING, 401, "exit");
    CheckMenuItem(*root_, 520, MF_CHECKED);
  }
  static bool Inside(const RECT& box) {
    return box.left >= 0 && box.top >= 0 && box.right <= 640 && box.bottom <= 480;
  }

  ShiftJis shift_jis_;
  FontEngine fonts_{shift_jis_};
  std::unique_ptr<Font> font_ = fonts_.Create(14, 400);
  std::unique_ptr<Menu> root_ = CreatePopupMenu();
  std::unique_ptr<Menu> sub_ = CreatePopupMenu();
};

TEST_F(MenuViewTest, StaysInsideThePageNearItsEdges) {
  MenuView view(*root_, 630, 470, font_.get(), 640, 480);
  EXPECT_TRUE(Inside(view.levels()[0].box));
  const RECT root = view.levels()[0].box;
  view.PointerMoved(root.left + 10, root.top + 8);  // over "contents"
  ASSERT_EQ(view.levels().size(), 2u);
  const RECT sub = view.levels()[1].box;
  EXPECT_TRUE(Inside(sub));
  EXPECT_LT(sub.left, root.left);  // no room on the right: it opens on the left
}

TEST_F(MenuViewTest, HoverOpensAndLeavingClosesTheSubmenu) {
  MenuView view(*root_, 10, 10, font_.get(), 640, 480);
  const RECT root = view.levels()[0].box;
  view.PointerMoved(root.left + 10, root.top + 8);
  ASSERT_EQ(view.levels().size(), 2u);
  EXPECT_GE(view.levels()[1].box.left, root.right - 3);
  view.PointerMoved(root.left + 10, root.bottom - 10);  // over "exit"
  EXPECT_EQ(view.levels().size(), 1u);
  const MenuView::Outcome picked = view.ButtonUp(root.left + 10, root.bottom - 10);
  EXPECT_TRUE(picked.closed);
  EXPECT_EQ(picked.command, 401u);
  EXPECT_TRUE(view.ButtonDown(600, 400).closed);  // a press outside closes it
}

TEST_F(MenuViewTest, KeysWalkTheTreeAndSkipSeparators) {
  MenuView view(*root_, 10, 10, font_.get(), 640, 480);
  view.Key(VK_DOWN);
  view.Key(VK_RIGHT);  // opens "contents" on its first item
  ASSERT_EQ(view.levels().size(), 2u);
  view.Key(VK_DOWN);
  EXPECT_EQ(view.Key(VK_RETURN).command, 501u);
  view.Key(VK_LEFT);
  EXPECT_EQ(view.levels().size(), 1u);
  view.Key(VK_DOWN);  // past the separator
  EXPECT_EQ(view.levels()[0].hover, 2);
  view.Key(VK_UP);
  view.Key(VK_UP);  // wraps round to the last item
  EXPECT_EQ(view.levels()[0].hover, 3);
  EXPECT_TRUE(view.Key(VK_ESCAPE).closed);
}

TEST_F(MenuViewTest, DrawsOverThePageInsideItsBoxes) {
  MenuView view(*root_, 100, 100, font_.get(), 640, 480);
  Bitmap canvas(640, 480);
  view.Draw(canvas);
  const RECT box = view.levels()[0].box;
  const int changed_inside = CountPixels(canvas, box, 0, false);
  EXPECT_EQ(CountPixels(canvas, {0, 0, 640, 480}, 0, false), changed_inside);
  EXPECT_GT(changed_inside, (box.right - box.left) * (box.bottom - box.top) / 2);
}

}  // namespace
