// Where text lands on the page: the label, the wrapped paragraph, and the pixels
// that text leaves alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/novel.h"

namespace {

// The box of pixels that differ from black inside an area.
RECT Drawn(const Bitmap& shot, RECT area) {
  RECT e{1 << 20, 1 << 20, -1, -1};
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (shot.pixel(x, y) == 0) continue;
      e = {std::min(e.left, x), std::min(e.top, y), std::max(e.right, x + 1),
           std::max(e.bottom, y + 1)};
    }
  }
  return e;
}

TEST(PagePixels, TheFirstPageLabelIsCentredOn450InTheLabelStrip) {
  const RECT label = Drawn(Screenshot("C\n一\n", ""), {0, 400, 640, 480});
  EXPECT_TRUE(label.top >= 440 && label.bottom <= 460);
  // "   1 ページ" begins with three spaces that leave no ink, 7 pixels each at 12
  // pixels (half a cell, and one more for the heavy weight).
  EXPECT_NEAR((label.left - 3 * 7 + label.right) / 2.0, 450.0, 3.0);
  EXPECT_TRUE(label.left < 440 && label.right > 480);
}

TEST(PagePixels, AParagraphWrapsInFullRowsInsideTheTextRectangle) {
  const Bitmap page = Screenshot("C\n" + Times(12, "夏の終わりの岬で") + "\n次\n", "");
  const RECT text = Drawn(page, {0, 0, 640, 440});
  EXPECT_TRUE(text.left >= 5 && text.right <= 635 && text.top >= 10);
  // 96 characters: four rows of 24 pixels, the last one begun, the first one full.
  EXPECT_TRUE(text.bottom > 10 + 3 * 24 && text.bottom <= 10 + 4 * 24) << text.bottom;
  EXPECT_GT(Drawn(page, {0, 10, 640, 34}).right, 600);
}

TEST(PagePixels, AFadedParagraphEndsWhiteAndLeavesOtherPixelsBlack) {
  const Bitmap page = Screenshot("C\nM\n漢字と、かなの段落。\n次\n", "");
  const RECT text_area{0, 0, 640, 440};
  const int white = CountPixels(page, text_area, 0xFFFFFF);
  EXPECT_GT(white, 100);
  EXPECT_EQ(white + CountPixels(page, text_area, 0), 640 * 440);
}

}  // namespace
