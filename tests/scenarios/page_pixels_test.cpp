// The page's pixels: where text lands and what it leaves alone; the hatch (every pixel
// with x + y even darkened) and the shake, which moves only what the window shows.
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

Bitmap Surface(const std::string& script, const std::string& events) {
  Novel novel;
  novel.Write("タイトル.txt", script);
  RunNovel(novel, events + "surface " + novel.File("surface.png") + "\n");
  return ReadPng(novel.File("surface.png"));
}

TEST(Effects, TheHatchBlackensEvenPixelsAndBecomesTheBackground) {
  const std::string script = "C\nF1\n岬の灯台に夜が来る。\nBO\n>\n";
  const Bitmap before = Surface(script, ""), after = Surface(script, "wait 100\nclick 1 1\n");
  int lit_odd = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      ASSERT_EQ(after.pixel(x, y), (x + y) % 2 == 0 ? 0 : before.pixel(x, y)) << x << "," << y;
      ASSERT_EQ(after.pixel(x, y + 480), after.pixel(x, y));  // the hatched page is the background
      lit_odd += (x + y) % 2 == 1 && before.pixel(x, y) != 0;
    }
  }
  EXPECT_GT(lit_odd, 50);  // the text survives on the odd pixels
  // A second hatch changes nothing.
  const Bitmap twice = Surface("C\nF1\n岬の灯台に夜が来る。\nBO\nBO\n>\n", "wait 100\nclick 1 1\n");
  EXPECT_TRUE(std::equal(after.row(0), after.row(960), twice.row(0)));
}

TEST(Effects, TheQuakeShakesForAQuarterSecondAndRestsAtZero) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n揺れる段落\nQ\n次\n");
  const std::string shot = novel.File("shot.png"), page = novel.File("page.png");
  const ReaderRun run = RunNovel(novel, "screenshot " + shot + "\nsurface " + page + "\n");
  // The shake runs after the text, before the pause: 10 steps of 25 ms.
  EXPECT_EQ(run.TimedRecords("present").at(0), "@250 present");
  const Bitmap window = ReadPng(shot), surface = ReadPng(page);
  EXPECT_TRUE(std::equal(window.row(0), window.row(480), surface.row(0)));
}

}  // namespace
