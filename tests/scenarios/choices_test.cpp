// Choices: the list after "SET", the bands that follow the pointer, the green
// highlight, and the click that moves on to the next block or back to line 0.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

constexpr std::uint32_t kGreen = 0x00FF00;

// The start-up step draws the "<" line and stops at "SET"; this click shows the list.
const std::string kShowList = "wait 100\nclick 1 1\n";

std::string Choose(int y) {
  return "move 10 " + std::to_string(y) + "\nclick 10 " + std::to_string(y) + "\n";
}

int Pixels(const Bitmap& shot, int top, int bottom, std::uint32_t colour, bool equal) {
  int count = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < 640; ++x) count += (shot.pixel(x, y) == colour) == equal;
  }
  return count;
}
int Green(const Bitmap& shot, int top, int bottom) { return Pixels(shot, top, bottom, kGreen, true); }
int Inked(const Bitmap& shot, int top, int bottom) { return Pixels(shot, top, bottom, 0, false); }

std::vector<int> Hovers(const ReaderRun& run) {
  std::vector<int> hovers;
  for (const std::string& record : run.Records("state HoverChoice=")) {
    hovers.push_back(std::stoi(record.substr(std::string("state HoverChoice=").size())));
  }
  return hovers;
}

std::string MoveAndReport(const std::vector<int>& ys) {
  std::string events;
  for (int y : ys) events += "move 300 " + std::to_string(y) + "\nstate\n";
  return events;
}

const std::string kTwoChoices = "C\n<\nSET\n0\"海へ行く\"\n1\"山へ行く\"\n>\n海の段落\nE\n";

TEST(Choices, BandsAreTheOpenFirstRowsOfEachChoice) {
  Novel novel;
  novel.Write("タイトル.txt", kTwoChoices);
  ReaderRun run = RunNovel(novel, kShowList + "state\n" + MoveAndReport({100, 101, 124, 123, 130, 145, 144, 167, 168}));
  EXPECT_EQ(run.State("Mode"), "ModeChoosing");
  EXPECT_EQ(Hovers(run), (std::vector<int>{5, 5, 0, 5, 0, 5, 1, 5, 1, 5}));

  // The large font widens the bands and the steps between them.
  novel.Write("タイトル.txt", "C\nF1\n<\nSET\n0\"海へ行く\"\n1\"山へ行く\"\n>\nE\n");
  run = RunNovel(novel, kShowList + MoveAndReport({141, 142, 162, 163, 203, 204}));
  EXPECT_EQ(run.StateNumber("FontHeight"), 42);
  EXPECT_EQ(Hovers(run), (std::vector<int>{0, 5, 5, 1, 1, 5}));

  // A negative height leaves every band empty.
  novel.Write("タイトル.txt", "C\nF-9\n<\nSET\n0\"海へ行く\"\n1\"山へ行く\"\n>\nE\n");
  run = RunNovel(novel, kShowList + MoveAndReport({90, 95, 100, 101, 110}));
  EXPECT_EQ(run.StateNumber("FontHeight"), -9);
  EXPECT_EQ(Hovers(run), (std::vector<int>{5, 5, 5, 5, 5}));
}

TEST(Choices, OnlyAChangeOfChoiceRedraws) {
  Novel novel;
  novel.Write("タイトル.txt", kTwoChoices);
  const int shown = RunNovel(novel, kShowList).Count("present");
  const int first = RunNovel(novel, kShowList + "move 10 105\n").Count("present");
  const int same = RunNovel(novel, kShowList + "move 10 105\nmove 600 110\n").Count("present");
  const int other = RunNovel(novel, kShowList + "move 10 105\nmove 600 110\nmove 10 150\n").Count("present");
  const int outside = RunNovel(novel, kShowList + "move 10 300\nmove 10 310\n").Count("present");
  EXPECT_EQ(first, shown + 1);
  EXPECT_EQ(same, first);
  EXPECT_EQ(other, first + 1);
  EXPECT_EQ(outside, shown);
}

TEST(Choices, HighlightIsPureGreenInTheHoveredBandOnly) {
  Novel novel;
  novel.Write("タイトル.txt", kTwoChoices);
  const std::string one = novel.File("one.png");
  const std::string back = novel.File("back.png");
  RunNovel(novel, kShowList + "move 10 150\nscreenshot " + one + "\nmove 10 110\nmove 10 300\nscreenshot " + back + "\n");
  const Bitmap shot = ReadPng(one);
  EXPECT_GT(Green(shot, 144, 188), 20);
  EXPECT_EQ(Green(shot, 0, 144), 0);
  EXPECT_EQ(Green(shot, 188, 480), 0);
  // Leaving every band redraws the green choice grey over itself.
  EXPECT_EQ(Green(ReadPng(back), 0, 480), 0);
}

TEST(Choices, AMissingDigitEndsTheListButNotTheBands) {
  Novel novel;
  // Choice 3 without 2; choosing 3 is told apart by its way back to line 0.
  novel.Write("タイトル.txt", "C\n<\nSET\n0\"海\"\n1\"山\"\n3\"川\"\n3\n>\n海の段落\n<\n次\nE\n");
  const std::string shot = novel.File("list.png");
  ReaderRun run = RunNovel(novel, kShowList + "screenshot " + shot + "\nmove 10 240\nstate\nclick 10 240\nstate\n");
  const Bitmap list = ReadPng(shot);
  EXPECT_GT(Inked(list, 100, 124), 0);
  EXPECT_GT(Inked(list, 144, 168), 0);
  EXPECT_EQ(Inked(list, 188, 400), 0);
  EXPECT_EQ(Hovers(run), (std::vector<int>{3, 5}));
  EXPECT_EQ(run.StateNumber("CurrentLine"), 2);
  EXPECT_EQ(run.StateNumber("ChoiceBlockIndex"), 0);

  // Without choice 0 nothing is drawn, yet the given choices react.
  novel.Write("タイトル.txt", "C\n<\nSET\n1\"山\"\n2\"川\"\n>\n<\n次\nE\n");
  run = RunNovel(novel, kShowList + "screenshot " + shot + "\nmove 10 150\nstate\nclick 10 150\nstate\n");
  EXPECT_EQ(Inked(ReadPng(shot), 100, 400), 0);
  EXPECT_EQ(Hovers(run), (std::vector<int>{1, 5}));
  EXPECT_EQ(run.StateNumber("ChoiceBlockIndex"), 1);
}

TEST(Choices, MovingOnAndBranchingBackToLineZero) {
  Novel novel;
  // Line 6 lies between the first block's ">" and the next "<": never run.
  novel.Write("タイトル.txt",
              "C\n<\nSET\n0\"海\"\n1\"山\"\n>\n外\n<\nSET\n0\"戻る\"\n1\"進む\"\n0\n>\n<\n終わり\nE\n");
  ReaderRun run = RunNovel(novel, kShowList + Choose(110) + "state\nwait 100\nclick 1 1\nstate\n" +
                                      Choose(110) + "state\nwait 100\nstate\n");
  std::vector<std::string> lines = run.Records("state CurrentLine=");
  std::vector<std::string> blocks = run.Records("state ChoiceBlockIndex=");
  std::vector<std::string> modes = run.Records("state Mode=");
  ASSERT_EQ(lines.size(), 4u);
  // Moving on runs from the next block's "<", drawn as a text line, to the stop at "SET".
  EXPECT_EQ(lines[0], "state CurrentLine=8");
  EXPECT_EQ(blocks[0], "state ChoiceBlockIndex=1");
  EXPECT_EQ(modes[0], "state Mode=ModeCooldown");
  EXPECT_EQ(modes[1], "state Mode=ModeChoosing");
  // Choice 0 of the second block is a way back: line 0 again, from the first block.
  EXPECT_EQ(lines[2], "state CurrentLine=2");
  EXPECT_EQ(blocks[2], "state ChoiceBlockIndex=0");
  EXPECT_EQ(modes[3], "state Mode=ModeReady");
  // Only the report taken while choosing shows filled slots.
  EXPECT_EQ(run.Records("state ChoiceTexts[").size(), 2u);

  // Choice 1 of the second block moves on to the third.
  run = RunNovel(novel, kShowList + Choose(110) + "wait 100\nclick 1 1\n" + Choose(150) + "state\n");
  EXPECT_EQ(run.StateNumber("CurrentLine"), 14);
  EXPECT_EQ(run.StateNumber("ChoiceBlockIndex"), 2);
}

TEST(Choices, ABranchTargetAfterTheListEndCountsForNothing) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n<\nSET\n0\"海\"\n1\"山\"\n>\n1\n<\n次\nE\n");
  ReaderRun run = RunNovel(novel, kShowList + Choose(150) + "state\n");
  EXPECT_EQ(run.StateNumber("CurrentLine"), 8);
  EXPECT_EQ(run.StateNumber("ChoiceBlockIndex"), 1);
}

TEST(Choices, ABranchThatMeetsSetAtOnceLeavesInactiveChoices) {
  Novel novel;
  // The start-up step stops at "SET" on line 0; choice 0 leads back to it.
  novel.Write("タイトル.txt", "SET\n0\"海\"\n1\"山\"\n<\n0\n>\n海の段落\nE\n");
  const std::string shot = novel.File("again.png");
  ReaderRun run = RunNovel(novel, Choose(110) + "state\nscreenshot " + shot + "\nwait 100\nmove 10 150\nstate\n" +
                                      "click 1 1\nmove 10 150\nstate\n");
  std::vector<std::string> modes = run.TimedRecords("state Mode=");
  ASSERT_EQ(modes.size(), 3u);
  EXPECT_EQ(modes[0], "@0 state Mode=ModeCooldown");
  EXPECT_EQ(modes[1], "@100 state Mode=ModeReady");
  EXPECT_EQ(modes[2], "@100 state Mode=ModeChoosing");
  EXPECT_EQ(Hovers(run), (std::vector<int>{5, 5, 1}));
  EXPECT_EQ(run.StateNumber("CurrentLine"), 0);
  // Drawn by the run, then emptied: the list is on the page with no slot behind it.
  EXPECT_GT(Inked(ReadPng(shot), 100, 124), 0);
  EXPECT_EQ(run.Records("state ChoiceTexts[").size(), 2u);
}

TEST(Choices, SkipModeStopsAtChoicesAndGoesOnAfterOne) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\n<\nSET\n0\"海\"\n1\"山\"\n>\n外\n<\n海一\n海二\n海三\n海四\nE\n");
  ReaderRun run = RunNovel(novel, "wait 100\ncommand 520\nwait 300\nstate\n" + Choose(110) +
                                      "wait 60\nstate\nwait 90\nstate\n");
  std::vector<std::string> modes = run.Records("state Mode=");
  std::vector<std::string> lines = run.Records("state CurrentLine=");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(modes[0], "state Mode=ModeChoosing");
  EXPECT_EQ(lines[0], "state CurrentLine=4");
  // The choice runs from the next "<" and the cooldown holds the ticks for 100 ms.
  EXPECT_EQ(modes[1], "state Mode=ModeCooldown");
  EXPECT_EQ(lines[1], "state CurrentLine=10");
  EXPECT_GT(run.StateNumber("CurrentLine"), 10);
  EXPECT_EQ(run.StateNumber("SkipMode"), 1);
}

TEST(Choices, MissingListEndOrBlockTakesNoChoice) {
  Novel novel;
  // No ">": the list runs to the end of the table and there is no next block.
  novel.Write("タイトル.txt", "C\n<\nSET\n0\"海\"\n1\"山\"\n段落\n");
  ReaderRun run = RunNovel(novel, kShowList + Choose(110) + "state\n");
  EXPECT_EQ(run.StateNumber("CurrentLine"), 2);
  EXPECT_EQ(run.StateNumber("ChoiceBlockIndex"), 0);
  EXPECT_EQ(run.Records("state ChoiceTexts[").size(), 2u);

  // No "<" at all: no block to search, nothing taken.
  novel.Write("タイトル.txt", "C\n一\nSET\n0\"海\"\n1\"山\"\n>\n0\n段落\nE\n");
  run = RunNovel(novel, kShowList + Choose(110) + "state\nwait 100\nclick 1 1\n" + Choose(150) + "state\n");
  std::vector<std::string> lines = run.Records("state CurrentLine=");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "state CurrentLine=2");
  EXPECT_EQ(lines[1], "state CurrentLine=2");
  EXPECT_EQ(run.StateNumber("ChoiceBlockIndex"), 0);
  // Both reports still show the two unanswered choices.
  EXPECT_EQ(run.Records("state ChoiceTexts[").size(), 4u);
}

}  // namespace
