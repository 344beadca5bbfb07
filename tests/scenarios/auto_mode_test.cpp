// Auto mode: the wait after each paragraph (after its fade) on the virtual clock,
// its indicator, and what stops it.
#include "app/auto_mode.h"

#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;

TEST(AutoMode, WaitsTheDelayAndSixtyMsPerDoubleByteCharacter) {
  EXPECT_EQ(AutoWaitMs(1000, ToShiftJis("一二三")), 1180u);
  EXPECT_EQ(AutoWaitMs(500, ToShiftJis("ab一")), 560u);
  EXPECT_EQ(AutoWaitMs(1000, "\x82"), 1000u);  // a lead byte without its trail
}

TEST(AutoMode, ReadsOnAfterEachParagraphAndItsFadeUntilTheChoices) {
  const ReaderRun run = RunScript("C\n一二三\nM\n四\n/\n五六\n<\nSET\n0\"海\"\n>\n<\nE\n",
                                  "wait 100\nkey A\nwait 6000\nstate\n");
  // 一二三 is on the page: 1180 ms. 四 fades in for 1.4 s, then waits 1060 ms.
  EXPECT_EQ(run.TimedRecords("timer set 304"),
            (Strings{"@100 timer set 304 1180", "@2680 timer set 304 1060",
                     "@3740 timer set 304 1120", "@4860 timer set 304 1000"}));
  // After "<", the next step meets the choices.
  EXPECT_EQ(run.TimedRecords("auto"), (Strings{"@100 auto on", "@5860 auto off"}));
  EXPECT_EQ(run.State("Mode"), "ModeChoosing");
}

TEST(AutoMode, AClickStopsItAndTheDelayIsAnOption) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\n三\n四\nE\n");
  const std::string shot = novel.File("on.png");
  const std::string off = novel.File("off.png");
  ReadingOptions options;
  options.auto_delay_ms = 300;
  const ReaderRun run = RunNovel(novel,
                                 "key A\nwait 400\nscreenshot " + shot +
                                     "\nclick 1 1\nscreenshot " + off + "\nwait 2000\nstate\n",
                                 options);
  EXPECT_EQ(run.TimedRecords("timer set 304"),
            (Strings{"@0 timer set 304 360", "@360 timer set 304 360"}));
  EXPECT_EQ(run.TimedRecords("auto"), (Strings{"@0 auto on", "@400 auto off"}));
  // The click after it still advances, once.
  EXPECT_EQ(run.State("CurrentLine"), "4");
  EXPECT_GT(CountPixels(ReadPng(shot), {20, 460, 120, 480}, 0x00FF00), 20);
  EXPECT_EQ(CountPixels(ReadPng(off), {0, 0, 640, 480}, 0x00FF00), 0);
}

}  // namespace
