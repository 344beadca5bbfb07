// The hatch darkens every pixel with x + y even and makes the page its background;
// the shake moves only what the window shows and ends with the page at rest.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

TEST(Effects, HatchBlackensEvenPixelsAndBecomesTheBackground) {
  Novel novel;
  novel.Write("タイトル.txt", "C\nF1\n岬の灯台に夜が来る。\nBO\n>\nBO\n>\n");
  const std::string before = novel.File("before.png"), after = novel.File("after.png");
  ReaderRun run = RunNovel(novel, "surface " + before + "\nwait 100\nclick 1 1\nsurface " + after + "\n");
  const Bitmap a = ReadPng(before), b = ReadPng(after);
  int lit_odd = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if ((x + y) % 2 == 0) {
        ASSERT_EQ(b.pixel(x, y), 0u) << x << "," << y;
      } else {
        ASSERT_EQ(b.pixel(x, y), a.pixel(x, y)) << x << "," << y;
        lit_odd += a.pixel(x, y) != 0;
      }
      ASSERT_EQ(b.pixel(x, y + 480), b.pixel(x, y));  // the hatched page is the background
    }
  }
  EXPECT_GT(lit_odd, 50);  // the text survives on the odd pixels
}

TEST(Effects, SecondHatchChangesNothing) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n岬の灯台に夜が来る。\nBO\nBO\n>\n");
  const std::string once = novel.File("once.png"), twice = novel.File("twice.png");
  Novel single;
  single.Write("タイトル.txt", "C\n岬の灯台に夜が来る。\nBO\n>\n");
  RunNovel(novel, "wait 100\nclick 1 1\nsurface " + twice + "\n");
  RunNovel(single, "wait 100\nclick 1 1\nsurface " + once + "\n");
  const Bitmap a = ReadPng(once), b = ReadPng(twice);
  for (int y = 0; y < 960; ++y) {
    for (int x = 0; x < 640; ++x) ASSERT_EQ(a.pixel(x, y), b.pixel(x, y));
  }
}

TEST(Effects, QuakeShakesForAQuarterSecondAndRestsAtZero) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n揺れる段落\nQ\n次\n");
  const std::string shot = novel.File("shot.png"), page = novel.File("page.png");
  ReaderRun run = RunNovel(novel, "screenshot " + shot + "\nsurface " + page + "\n");
  // The shake runs after the text, before the pause: 10 steps of 25 ms.
  std::vector<std::string> presents = run.TimedRecords("present");
  ASSERT_GE(presents.size(), 2u);
  EXPECT_EQ(presents[0], "@250 present");
  const Bitmap window = ReadPng(shot), surface = ReadPng(page);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) ASSERT_EQ(window.pixel(x, y), surface.pixel(x, y));
  }
}

}  // namespace
