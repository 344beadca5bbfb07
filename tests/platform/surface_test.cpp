// Copies and fills: only pixels whose source and destination both lie inside move.
// Lines: the pixels of their walk that lie inside, and the rectangle around them.
#include "platform/gdi/surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

struct TestSurface {
  TestSurface(int width, int height) : bitmap(width, height) { surface.bitmap = &bitmap; }
  Bitmap bitmap;
  Surface surface;
};

// Each pixel holds its own position, so a moved pixel tells where it came from.
std::uint32_t Position(int x, int y) { return static_cast<std::uint32_t>(y << 12 | x); }
constexpr std::uint32_t UNTOUCHED = 0xABCDEF;

TEST(CopyRule, OnlyPixelsWithSourceAndDestinationInsideMove) {
  TestSurface page(640, 960), status(400, 100), small(64, 64);
  for (int y = 0; y < 960; ++y) {
    for (int x = 0; x < 640; ++x) page.bitmap.set_pixel(x, y, Position(x, y));
  }
  std::fill(status.bitmap.row(0), status.bitmap.row(100), UNTOUCHED);
  std::fill(small.bitmap.row(0), small.bitmap.row(64), UNTOUCHED);
  // 400 x 50 from (220, 940): only rows 940 to 959 exist.
  BitBlt(status.surface, 0, 60, 400, 50, page.surface, 220, 940, SRCCOPY);
  // The background half over the page half but its bottom strip.
  BitBlt(page.surface, 0, 0, 640, 460, page.surface, 0, 480, SRCCOPY);
  // The label strip from x = 350, 300 wide: columns 640 to 649 fall outside.
  BitBlt(page.surface, 350, 440, 300, 20, status.surface, 0, 60, SRCCOPY);
  // Negative and huge offsets.
  BitBlt(small.surface, -10, -10, 20, 20, page.surface, 0, 0, SRCCOPY);
  BitBlt(small.surface, 0, 0, 64, 64, page.surface, INT32_MAX - 5, INT32_MIN + 5, SRCCOPY);
  BitBlt(small.surface, INT32_MAX - 5, 0, 64, 64, page.surface, 0, 0, SRCCOPY);
  const struct {
    const Bitmap& bitmap;
    int x, y;
    std::uint32_t expected;
  } cases[] = {
      {status.bitmap, 0, 60, Position(220, 940)},  {status.bitmap, 399, 79, Position(619, 959)},
      {status.bitmap, 0, 80, UNTOUCHED},           {status.bitmap, 0, 99, UNTOUCHED},
      {status.bitmap, 0, 59, UNTOUCHED},           {page.bitmap, 350, 440, Position(220, 940)},
      {page.bitmap, 639, 459, Position(509, 959)}, {page.bitmap, 349, 440, Position(349, 920)},
      {page.bitmap, 5, 0, Position(5, 480)},       {page.bitmap, 5, 460, Position(5, 460)},
      {small.bitmap, 0, 0, Position(10, 490)},     {small.bitmap, 10, 10, UNTOUCHED},
      {small.bitmap, 20, 20, UNTOUCHED},
  };
  for (const auto& c : cases) EXPECT_EQ(c.bitmap.pixel(c.x, c.y), c.expected) << c.x << "," << c.y;
}

// A copy tells the rectangle it drew over and, inside it, the rows it wrote: a page
// copied again onto the window sends only the rows that differ.
TEST(CopyRule, ACopyTellsTheRowsItWrote) {
  TestSurface page(64, 48), window(64, 48);
  std::vector<std::pair<RECT, RECT>> told;
  window.surface.on_change = [&told](const RECT& changed, const RECT& altered) {
    told.emplace_back(changed, altered);
  };
  page.bitmap.set_pixel(5, 10, 1);
  page.bitmap.set_pixel(60, 20, 2);
  BitBlt(window.surface, -8, 0, 80, 48, page.surface, -8, 0, SRCCOPY);
  BitBlt(window.surface, 0, 0, 64, 48, page.surface, 0, 0, SRCCOPY);
  BitBlt(window.surface, 0, 0, 64, 48, window.surface, 0, 0, SRCCOPY);  // onto itself
  const std::vector<std::pair<RECT, RECT>> expected = {{{0, 0, 64, 48}, {0, 10, 64, 21}},
                                                       {{0, 0, 64, 48}, {}},
                                                       {{0, 0, 64, 48}, {0, 0, 64, 48}}};
  EXPECT_EQ(told, expected);
}

TEST(PatBlt, FillsWithTheBrushInsideTheSurface) {
  TestSurface page(64, 64);
  const Brush red{RGB(255, 0, 0)};
  SelectObject(page.surface, &red);
  PatBlt(page.surface, 60, -4, 100, 8, PATCOPY);
  EXPECT_EQ(page.bitmap.pixel(63, 0), 0xFF0000u);
  EXPECT_EQ(page.bitmap.pixel(63, 3), 0xFF0000u);
  EXPECT_EQ(page.bitmap.pixel(63, 4), 0u);
  EXPECT_EQ(page.bitmap.pixel(59, 0), 0u);
}

// A 45-degree line (the hatch draws 640 of them) puts exactly the pixels of the walk
// from its start up to its end that lie inside the bitmap, wherever the two lie, and
// tells the rectangle around them as changed.
TEST(LineTo, DiagonalsPutTheirWalksPixelsInsideTheBitmap) {
  const Pen white{RGB(255, 255, 255), 1};
  for (int x = -4; x < 10; ++x) {
    for (int y = -4; y < 9; ++y) {
      for (int direction = 0; direction < 4; ++direction) {
        const int step_x = direction & 1 ? -1 : 1, step_y = direction & 2 ? -1 : 1;
        for (int steps = 0; steps < 13; ++steps) {
          TestSurface page(6, 5);
          RECT changed{};
          page.surface.on_change = [&changed](const RECT& rect, const RECT&) { changed = rect; };
          SelectObject(page.surface, &white);
          MoveToEx(page.surface, x, y);
          LineTo(page.surface, x + steps * step_x, y + steps * step_y);
          Bitmap expected(6, 5);
          RECT around{};
          for (int k = 0; k < steps; ++k) {
            const int px = x + k * step_x, py = y + k * step_y;
            if (px < 0 || px >= 6 || py < 0 || py >= 5) continue;
            expected.set_pixel(px, py, 0xFFFFFF);
            const bool first = around.right == 0;
            around = {first ? px : std::min<int>(around.left, px),
                      first ? py : std::min<int>(around.top, py),
                      std::max<int>(around.right, px + 1), std::max<int>(around.bottom, py + 1)};
          }
          const std::string line = "from " + std::to_string(x) + "," + std::to_string(y) +
                                   " steps " + std::to_string(steps) + " direction " +
                                   std::to_string(direction);
          ASSERT_TRUE(std::equal(expected.row(0), expected.row(5), page.bitmap.row(0))) << line;
          ASSERT_EQ(changed, around) << line;
        }
      }
    }
  }
}

}  // namespace
