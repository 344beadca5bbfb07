// Skip mode: steps every 50 ms without fades, its indicator in the status strip,
// and what stops it.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

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
  EXPECT_EQ(run.Values("CurrentLine"), (std::vector<std::string>{"6", "7", "7"}));
  EXPECT_EQ(run.Values("SkipMode"), (std::vector<std::string>{"1", "0", "0"}));
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

TEST(SkipMode, ChoosingItTwiceKeepsOneTimer) {
  const ReaderRun run = RunScript(Paragraphs(40), SKIP + "wait 20\ncommand 520\nwait 120\nstate\n");
  EXPECT_EQ(run.Count("timer set 303 50"), 2);
  // The second choice restarts the timer: two ticks in the last 120 ms, not three.
  EXPECT_EQ(run.StateNumber("CurrentLine"), 5);
}

TEST(SkipMode, TheRightButtonStopsIt) {
  const ReaderRun run =
      RunScript(Paragraphs(3), SKIP + "wait 60\nrclick 5 5\nstate\nwait 300\nstate\n");
  EXPECT_EQ(run.State("SkipMode"), "0");
  EXPECT_EQ(run.Values("CurrentLine")[0], run.Values("CurrentLine")[1]);
}

}  // namespace
