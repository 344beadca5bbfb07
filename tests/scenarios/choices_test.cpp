// Choices: the list after "SET", its hover bands and highlight, and where a click leads.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;

const std::string kShowList = "wait 100\nclick 1 1\n";  // the start-up step stops at "SET"
const std::string kList = "<\nSET\n0\"海へ行く\"\n1\"山へ行く\"\n>\n海の段落\nE\n";
// Line 6, between the first block's ">" and the next "<", is never run.
const std::string kThreeBlocks =
    "C\n<\nSET\n0\"海\"\n1\"山\"\n>\n外\n<\nSET\n0\"戻る\"\n1\"進む\"\n0\n>\n<\n終わり\nE\n";
const std::string kGap = "C\n<\nSET\n0\"海\"\n1\"山\"\n3\"川\"\n3\n>\n海の段落\n<\n次\nE\n";  // 3 without 2
const std::string kNoZero = "C\n<\nSET\n1\"山\"\n2\"川\"\n>\n<\n次\nE\n";
constexpr std::uint32_t kGreen = 0x00FF00;

std::string Choose(int y) { return "move 10 " + std::to_string(y) + "\nclick 10 " + std::to_string(y) + "\n"; }

Strings Values(const ReaderRun& run, const std::string& name) {
  Strings values;
  for (const std::string& record : run.Records("state " + name + "=")) values.push_back(record.substr(7 + name.size()));
  return values;
}

// Pixels in rows [top, bottom) that are colour, or with equal unset that are not.
int Pixels(const Bitmap& shot, int top, int bottom, std::uint32_t colour, bool equal = true) {
  int count = 0;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < 640; ++x) count += (shot.pixel(x, y) == colour) == equal;
  return count;
}

TEST(Choices, HoverBandsAreTheFirstRowsOfEachChoice) {
  struct Case { std::string script; std::vector<int> ys; Strings hovers; };
  const Case cases[] = {
      {"C\n" + kList, {100, 101, 124, 123, 130, 145, 144, 167, 168}, {"5", "0", "5", "0", "5", "1", "5", "1", "5"}},
      {"C\nF1\n" + kList, {141, 142, 162, 163, 203, 204}, {"0", "5", "5", "1", "1", "5"}},
      {"C\nF-9\n" + kList, {90, 95, 100, 101, 110}, {"5", "5", "5", "5", "5"}},  // a negative height: no bands
      {kGap, {240}, {"3"}},      // the list ends at the missing digit, the bands do not
      {kNoZero, {150}, {"1"}},
  };
  for (const Case& c : cases) {
    Novel novel;
    novel.Write("タイトル.txt", c.script);
    std::string events = kShowList;
    for (int y : c.ys) events += "move 300 " + std::to_string(y) + "\nstate\n";
    EXPECT_EQ(Values(RunNovel(novel, events), "HoverChoice"), c.hovers) << c.script;
  }
}

TEST(Choices, OnlyAChangeOfChoiceRedrawsAndTheHighlightIsPureGreen) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n" + kList);
  const auto presents = [&](const std::string& moves) { return RunNovel(novel, kShowList + moves).Count("present"); };
  const int shown = presents("");
  EXPECT_EQ(presents("move 10 105\n"), shown + 1);
  EXPECT_EQ(presents("move 10 105\nmove 600 110\n"), shown + 1);  // inside the highlighted band
  EXPECT_EQ(presents("move 10 105\nmove 600 110\nmove 10 150\n"), shown + 2);
  EXPECT_EQ(presents("move 10 300\nmove 10 310\n"), shown);

  const std::string lit = novel.File("lit.png"), back = novel.File("back.png");
  RunNovel(novel,
           kShowList + "move 10 150\nscreenshot " + lit + "\nmove 10 110\nmove 10 300\nscreenshot " + back + "\n");
  const Bitmap shot = ReadPng(lit);
  EXPECT_GT(Pixels(shot, 144, 188, kGreen), 20);
  EXPECT_EQ(Pixels(shot, 0, 144, kGreen) + Pixels(shot, 188, 480, kGreen), 0);
  EXPECT_EQ(Pixels(ReadPng(back), 0, 480, kGreen), 0);  // leaving every band greys the choice again
}

TEST(Choices, AMissingDigitEndsTheDrawnList) {
  for (const auto& [script, drawn] : {std::pair{kGap, true}, {kNoZero, false}}) {
    Novel novel;
    novel.Write("タイトル.txt", script);
    RunNovel(novel, kShowList + "screenshot " + novel.File("list.png") + "\n");
    const Bitmap list = ReadPng(novel.File("list.png"));
    EXPECT_EQ(Pixels(list, 100, 124, 0, false) > 0, drawn) << script;
    EXPECT_EQ(Pixels(list, 144, 168, 0, false) > 0, drawn) << script;
    EXPECT_EQ(Pixels(list, drawn ? 188 : 100, 400, 0, false), 0) << script;
  }
}

TEST(Choices, WhereAClickLeads) {
  struct Case { std::string script, events; int line, block; std::size_t texts; };
  const std::string two = "C\n<\nSET\n0\"海\"\n1\"山\"\n";
  const std::string next = "wait 100\nclick 1 1\n";
  const Case cases[] = {
      {kThreeBlocks, Choose(110) + next + Choose(150), 14, 2, 0},                 // moves on twice
      {kThreeBlocks, Choose(110) + next + Choose(110) + "wait 100\n", 2, 0, 0},  // back to line 0
      {two + ">\n1\n<\n次\nE\n", Choose(150), 8, 1, 0},  // a target after ">" counts for nothing
      {kGap, Choose(240), 2, 0, 0},
      {kNoZero, Choose(150), 7, 1, 0},
      {two + "段落\n", Choose(110), 2, 0, 2},  // no ">": the list runs to the end, no next block
      // No "<": no block to search; both reports still show the unanswered choices.
      {"C\n一\nSET\n0\"海\"\n1\"山\"\n>\n0\n段落\nE\n", Choose(110) + "state\n" + next + Choose(150), 2, 0, 4},
  };
  for (const Case& c : cases) {
    Novel novel;
    novel.Write("タイトル.txt", c.script);
    ReaderRun run = RunNovel(novel, kShowList + c.events + "state\n");
    EXPECT_EQ(run.StateNumber("CurrentLine"), c.line) << c.script << c.events;
    EXPECT_EQ(run.StateNumber("ChoiceBlockIndex"), c.block) << c.script << c.events;
    EXPECT_EQ(run.Records("state ChoiceTexts[").size(), c.texts) << c.script << c.events;
  }
}

TEST(Choices, ABranchThatMeetsSetAtOnceLeavesInactiveChoices) {
  Novel novel;
  // The start-up step stops at "SET" on line 0; choice 0 leads back to it.
  novel.Write("タイトル.txt", "SET\n0\"海\"\n1\"山\"\n<\n0\n>\n海の段落\nE\n");
  const std::string shot = novel.File("again.png");
  ReaderRun run = RunNovel(novel, Choose(110) + "state\nscreenshot " + shot + "\nwait 100\nmove 10 150\nstate\n" +
                                      "click 1 1\nmove 10 150\nstate\n");
  EXPECT_EQ(run.TimedRecords("state Mode="),
            (Strings{"@0 state Mode=ModeCooldown", "@100 state Mode=ModeReady", "@100 state Mode=ModeChoosing"}));
  EXPECT_EQ(Values(run, "HoverChoice"), (Strings{"5", "5", "1"}));
  EXPECT_EQ(run.StateNumber("CurrentLine"), 0);
  // Drawn by the run, then emptied: the list is on the page with no slot behind it.
  EXPECT_GT(Pixels(ReadPng(shot), 100, 124, 0, false), 0);
  EXPECT_EQ(run.Records("state ChoiceTexts[").size(), 2u);
}

TEST(Choices, SkipModeStopsAtChoicesAndGoesOnAfterOne) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\n<\nSET\n0\"海\"\n1\"山\"\n>\n外\n<\n海一\n海二\n海三\n海四\nE\n");
  const ReaderRun run =
      RunNovel(novel, "wait 100\ncommand 520\nwait 300\nstate\n" + Choose(110) + "wait 60\nstate\nwait 90\nstate\n");
  // The choice runs from the next "<" and the cooldown holds the ticks for 100 ms.
  EXPECT_EQ(Values(run, "Mode"), (Strings{"ModeChoosing", "ModeCooldown", "ModeReady"}));
  EXPECT_EQ(Values(run, "CurrentLine"), (Strings{"4", "10", "12"}));
  EXPECT_EQ(run.StateNumber("SkipMode"), 1);
}

}  // namespace
