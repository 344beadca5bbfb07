// The hatch darkens every pixel with x + y even and makes the page its background;
// the shake moves only what the window shows and ends with the page at rest.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/novel.h"

namespace {

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
