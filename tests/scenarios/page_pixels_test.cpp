// Where text lands on the page: the label, the wrapped paragraph, and the pixels
// that text leaves alone.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/novel.h"

namespace {

struct Extent {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
  bool empty() const { return right < 0; }
};

// The box of pixels that differ from black inside a region.
Extent Drawn(const Bitmap& shot, int left, int top, int right, int bottom) {
  Extent e;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (shot.pixel(x, y) == 0) continue;
      e.left = std::min(e.left, x);
      e.top = std::min(e.top, y);
      e.right = std::max(e.right, x + 1);
      e.bottom = std::max(e.bottom, y + 1);
    }
  }
  return e;
}

TEST(PagePixels, FirstPageLabelIsCentredOn450InTheLabelStrip) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n");
  const std::string shot = novel.File("shot.png");
  ReaderRun run = RunNovel(novel, "screenshot " + shot + "\n");
  const Bitmap page = ReadPng(shot);
  const Extent label = Drawn(page, 0, 400, 640, 480);
  ASSERT_FALSE(label.empty());
  EXPECT_GE(label.top, 440);
  EXPECT_LE(label.bottom, 460);
  // "   1 ページ" begins with three spaces that leave no ink, 7 pixels each at 12
  // pixels (half a cell, and one more for the heavy weight).
  const int row_left = label.left - 3 * 7;
  EXPECT_NEAR((row_left + label.right) / 2.0, 450.0, 3.0);
  EXPECT_LT(label.left, 440);
  EXPECT_GT(label.right, 480);
}

TEST(PagePixels, AParagraphWrapsInsideTheTextRectangle) {
  Novel novel;
  std::string paragraph;
  for (int i = 0; i < 12; ++i) paragraph += "夏の終わりの岬で";  // 96 characters
  novel.Write("タイトル.txt", "C\n" + paragraph + "\n次\n");
  const std::string shot = novel.File("shot.png");
  RunNovel(novel, "screenshot " + shot + "\n");
  const Bitmap page = ReadPng(shot);
  const Extent text = Drawn(page, 0, 0, 640, 440);
  ASSERT_FALSE(text.empty());
  EXPECT_GE(text.left, 5);
  EXPECT_LE(text.right, 635);
  EXPECT_GE(text.top, 10);
  // Four rows of 24 pixels, the last one begun.
  EXPECT_GT(text.bottom, 10 + 3 * 24);
  EXPECT_LE(text.bottom, 10 + 4 * 24);
  // Rows are full: the first row reaches near the right edge.
  EXPECT_GT(Drawn(page, 0, 10, 640, 34).right, 600);
}

TEST(PagePixels, TextBrightensInPlaceAndLeavesOtherPixelsAlone) {
  // A "T" line puts its label over the background without clearing the text cursor;
  // then the faded paragraph's pixels are white and every other pixel black.
  Novel novel;
  novel.Write("タイトル.txt", "C\nM\n漢字と、かなの段落。\n次\n");
  const std::string shot = novel.File("shot.png");
  RunNovel(novel, "screenshot " + shot + "\n");
  const Bitmap page = ReadPng(shot);
  int white = 0;
  for (int y = 0; y < 440; ++y) {
    for (int x = 0; x < 640; ++x) {
      const std::uint32_t p = page.pixel(x, y);
      ASSERT_TRUE(p == 0 || p == 0xFFFFFF) << x << "," << y;
      white += p == 0xFFFFFF;
    }
  }
  EXPECT_GT(white, 100);
}

}  // namespace
