// Skip mode: steps every 50 ms without fades, its indicator in the status strip,
// and what stops it.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

constexpr std::uint32_t GREEN = 0x00FF00;

int GreenPixels(const Bitmap& shot, int left, int top, int right, int bottom) {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) count += shot.pixel(x, y) == GREEN;
  }
  return count;
}

std::string Paragraphs(int count) {
  std::string script = "C\nM\n";
  for (int i = 0; i < count; ++i) script += "段落\n";
  return script + "E\n";
}

TEST(SkipMode, StepsEvery50MsWithTheIndicatorUntilAClick) {
  Novel novel;
  novel.Write("タイトル.txt", Paragraphs(20));
  const std::string shot = novel.File("skip.png");
  const std::string after = novel.File("after.png");
  ReaderRun run = RunNovel(novel, "wait 100\ncommand 520\nwait 160\nstate\nscreenshot " + shot +
                                "\nclick 1 1\nstate\nscreenshot " + after + "\nwait 500\nstate\n");
  EXPECT_EQ(run.Count("timer set 303 50"), 1);
  // Three ticks in 160 ms, each one paragraph, drawn without a fade.
  std::vector<std::string> lines = run.Records("state CurrentLine=");
  EXPECT_EQ(lines[0], "state CurrentLine=6");
  EXPECT_EQ(run.Records("state SkipMode=")[0], "state SkipMode=1");
  EXPECT_GT(GreenPixels(ReadPng(shot), 240, 460, 440, 480), 20);
  EXPECT_EQ(GreenPixels(ReadPng(shot), 0, 0, 640, 460), 0);
  // A click draws one more paragraph, then stops skip mode and clears the strip.
  EXPECT_EQ(lines[1], "state CurrentLine=7");
  EXPECT_EQ(run.Records("state SkipMode=")[1], "state SkipMode=0");
  EXPECT_EQ(run.Count("timer kill 303"), 1);
  EXPECT_EQ(GreenPixels(ReadPng(after), 0, 0, 640, 480), 0);
  EXPECT_EQ(lines[2], "state CurrentLine=7");
}

TEST(SkipMode, EndStopsTheTimerButLeavesTheFlag) {
  Novel novel;
  novel.Write("タイトル.txt", Paragraphs(3));
  const std::string shot = novel.File("end.png");
  ReaderRun run = RunNovel(novel, "wait 100\ncommand 520\nwait 500\nstate\nscreenshot " + shot + "\n");
  EXPECT_EQ(run.State("Mode"), "ModeFinished");
  EXPECT_EQ(run.StateNumber("SkipMode"), 1);
  EXPECT_EQ(run.Count("timer kill 303"), 1);
  // No tick after the end runs a step: the timer is gone.
  EXPECT_EQ(run.Records("timer").back(), "timer kill 303");
  EXPECT_EQ(GreenPixels(ReadPng(shot), 0, 0, 640, 480), 0);
}

TEST(SkipMode, ChoosingItTwiceKeepsOneTimer) {
  Novel novel;
  novel.Write("タイトル.txt", Paragraphs(40));
  ReaderRun run = RunNovel(novel, "wait 100\ncommand 520\nwait 20\ncommand 520\nwait 120\nstate\n");
  EXPECT_EQ(run.Count("timer set 303 50"), 2);
  // The second choice restarts the timer: two ticks in the last 120 ms, not three.
  EXPECT_EQ(run.StateNumber("CurrentLine"), 5);
}

TEST(SkipMode, RightButtonStopsItInEveryMode) {
  Novel novel;
  novel.Write("タイトル.txt", Paragraphs(3));
  ReaderRun run = RunNovel(novel, "wait 100\ncommand 520\nwait 60\nrclick 5 5\nstate\nwait 300\nstate\n");
  EXPECT_EQ(run.State("SkipMode"), "0");
  EXPECT_EQ(run.Records("state CurrentLine=")[0], run.Records("state CurrentLine=")[1]);
}

}  // namespace
