// Skip mode (a step every 50 ms, no fades) and auto mode (a wait after each paragraph and
// its fade): their timers on the virtual clock, their indicators and what stops them.
#include <gtest/gtest.h>

#include "app/auto_mode.h"
#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;

constexpr std::uint32_t GREEN = 0x00FF00;
const std::string SKIP = "wait 100\ncommand 520\n";

std::string Paragraphs(int count) { return "C\nM\n" + Times(count, "段落\n") + "E\n"; }

TEST(SkipMode, StepsEvery50MsWithTheIndicatorUntilAClick) {
  const std::string events = SKIP + "wait 160\nstate\n";
  const ReaderRun run =
      RunScript(Paragraphs(20), events + "click 1 1\nstate\nwait 500\nstate\n");
  EXPECT_EQ(run.Count("timer set 303 50"), 1);
  // Three ticks in 160 ms, each one paragraph without a fade; the click draws one
  // more, then stops skip mode and clears the strip.
  EXPECT_EQ(run.Values("CurrentLine"), (Strings{"6", "7", "7"}));
  EXPECT_EQ(run.Values("SkipMode"), (Strings{"1", "0", "0"}));
  EXPECT_EQ(run.Count("timer kill 303"), 1);
  const Bitmap skipping = Screenshot(Paragraphs(20), events);
  EXPECT_GT(CountPixels(skipping, {240, 460, 440, 480}, GREEN), 20);
  EXPECT_EQ(CountPixels(skipping, {0, 0, 640, 460}, GREEN), 0);
  const Bitmap stopped = Screenshot(Paragraphs(20), events + "click 1 1\n");
  EXPECT_EQ(CountPixels(stopped, {0, 0, 640, 480}, GREEN), 0);
}

TEST(SkipMode, TheEndStopsTheTimerButLeavesTheFlag) {
  const ReaderRun run = RunScript(Paragraphs(3), SKIP + "wait 500\nstate\n");
  EXPECT_EQ(run.State("Mode") + " " + run.State("SkipMode"), "ModeFinished 1");
  // No tick after the end runs a step: the timer is gone, and so is the indicator.
  EXPECT_EQ(run.Records("timer").back(), "timer kill 303");
  const Bitmap ended = Screenshot(Paragraphs(3), SKIP + "wait 500\n");
  EXPECT_EQ(CountPixels(ended, {0, 0, 640, 480}, GREEN), 0);
}

TEST(SkipMode, ChoosingItTwiceKeepsOneTimerAndTheRightButtonStopsIt) {
  const ReaderRun run = RunScript(Paragraphs(40), SKIP + "wait 20\ncommand 520\nwait 120\nstate\n"
                                                         "rclick 5 5\nstate\nwait 300\nstate\n");
  EXPECT_EQ(run.Count("timer set 303 50"), 2);
  // The second choice restarts the timer: two ticks in the last 120 ms, not three.
  EXPECT_EQ(run.Values("CurrentLine"), (Strings{"5", "5", "5"}));
  EXPECT_EQ(run.State("SkipMode"), "0");
}

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
