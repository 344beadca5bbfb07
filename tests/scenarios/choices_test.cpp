// Choices: the list after "SET", its hover bands and highlight, and where a click leads.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;

const std::string SHOW_LIST = "wait 100\nclick 1 1\n";  // the start-up step stops at "SET"
const std::string LIST = "<\nSET\n0\"海へ行く\"\n1\"山へ行く\"\n>\n海の段落\nE\n";
// Line 6, between the first block's ">" and the next "<", is never run.
const std::string THREE_BLOCKS = "C\n<\nSET\n0\"海\"\n1\"山\"\n>\n外\n<\nSET\n0\"戻る\"\n1\"進む\"\n0\n>\n<\n終わり\nE\n";
const std::string GAP = "C\n<\nSET\n0\"海\"\n1\"山\"\n3\"川\"\n3\n>\n海の段落\n<\n次\nE\n";  // 3 without 2
const std::string NO_ZERO = "C\n<\nSET\n1\"山\"\n2\"川\"\n>\n<\n次\nE\n";

std::string Choose(int y) { return "move 10 " + std::to_string(y) + "\nclick 10 " + std::to_string(y) + "\n"; }

ReaderRun RunScript(const std::string& script, const std::string& events) {
  Novel novel;
  novel.Write("タイトル.txt", script);
  return RunNovel(novel, events);
}

Bitmap Shot(const std::string& script, const std::string& events) {  // the page after the events
  const Novel folder;
  RunScript(script, events + "screenshot " + folder.File("shot.png") + "\n");
  return ReadPng(folder.File("shot.png"));
}

// Pixels in rows [top, bottom) that are colour, or with equal unset that are not.
int Pixels(const Bitmap& shot, int top, int bottom, std::uint32_t colour, bool equal = true) {
  int count = 0;
  for (int y = top; y < bottom; ++y) for (int x = 0; x < 640; ++x) count += (shot.pixel(x, y) == colour) == equal;
  return count;
}

TEST(Choices, HoverBandsAreTheFirstRowsOfEachChoice) {
  const struct { std::string script; std::vector<int> ys; Strings hovers; } cases[] = {
      {"C\n" + LIST, {100, 101, 124, 123, 130, 145, 144, 167, 168}, {"5", "0", "5", "0", "5", "1", "5", "1", "5"}},
      {"C\nF1\n" + LIST, {141, 142, 162, 163, 203, 204}, {"0", "5", "5", "1", "1", "5"}},
      {"C\nF-9\n" + LIST, {90, 95, 100, 101, 110}, {"5", "5", "5", "5", "5"}},  // a negative height: no bands
      {GAP, {240}, {"3"}}, {NO_ZERO, {150}, {"1"}},  // the list ends at the missing digit, the bands do not
  };
  for (const auto& c : cases) {
    std::string events = SHOW_LIST;
    for (int y : c.ys) events += "move 300 " + std::to_string(y) + "\nstate\n";
    EXPECT_EQ(RunScript(c.script, events).Values("HoverChoice"), c.hovers) << c.script;
  }
}

TEST(Choices, OnlyAChangeRedrawsTheListIsDrawnToAMissingDigitAndTheHighlightIsPureGreen) {
  const std::string script = "C\n" + LIST;
  const auto presents = [&](const std::string& moves) { return RunScript(script, SHOW_LIST + moves).Count("present"); };
  const int shown = presents("");
  EXPECT_EQ(presents("move 10 105\n"), shown + 1);
  EXPECT_EQ(presents("move 10 105\nmove 600 110\nmove 10 150\n"), shown + 2);  // 600 110 is in the lit band
  EXPECT_EQ(presents("move 10 300\nmove 10 310\n"), shown);
  const Bitmap lit = Shot(script, SHOW_LIST + "move 10 150\n");
  EXPECT_GT(Pixels(lit, 144, 188, 0x00FF00), 20);
  EXPECT_EQ(Pixels(lit, 0, 144, 0x00FF00) + Pixels(lit, 188, 480, 0x00FF00), 0);
  EXPECT_EQ(Pixels(Shot(script, SHOW_LIST + "move 10 150\nmove 10 110\nmove 10 300\n"), 0, 480, 0x00FF00), 0);  // grey again
  for (const auto& [digits, drawn] : {std::pair{GAP, true}, {NO_ZERO, false}}) {
    const Bitmap list = Shot(digits, SHOW_LIST);
    EXPECT_EQ(Pixels(list, 100, 124, 0, false) > 0 && Pixels(list, 144, 168, 0, false) > 0, drawn) << digits;
    EXPECT_EQ(Pixels(list, drawn ? 188 : 100, 400, 0, false), 0) << digits;
  }
}

TEST(Choices, WhereAClickLeads) {
  const struct { std::string script, events, line_block_texts; } cases[] = {
      {THREE_BLOCKS, Choose(110) + SHOW_LIST + Choose(150), "14 2 0"},                 // moves on twice
      {THREE_BLOCKS, Choose(110) + SHOW_LIST + Choose(110) + "wait 100\n", "2 0 0"},  // back to line 0
      {"C\n<\nSET\n0\"海\"\n1\"山\"\n>\n1\n<\n次\nE\n", Choose(150), "8 1 0"},  // a target after ">" counts for nothing
      {GAP, Choose(240), "2 0 0"}, {NO_ZERO, Choose(150), "7 1 0"},
      // Nowhere to move on to: the run goes on behind the list's ">", or, without one, past
      // the table's end, where the script ends.
      {"C\n<\nSET\n0\"海\"\n1\"山\"\n段落\n", Choose(110), "700 0 0"},
      {"C\n<\nSET\n0\"海\"\n1\"山\"\n>\n外\nE\n", Choose(150), "7 0 0"},  // no next block
      {"C\n一\nSET\n0\"海\"\n1\"山\"\n>\n0\n段落\nE\n", Choose(110), "7 0 0"},  // no "<" at all
      {"C\nSET\n>\n外\nE\n", "", "4 0 0"},  // nothing to choose: the first click goes on
  };
  for (const auto& c : cases) {
    const ReaderRun run = RunScript(c.script, SHOW_LIST + c.events + "state\n");
    EXPECT_EQ(run.State("CurrentLine") + " " + run.State("ChoiceBlockIndex") + " " +
                  std::to_string(run.Records("state ChoiceTexts[").size()), c.line_block_texts) << c.script << c.events;
  }
}

TEST(Choices, ABranchThatMeetsSetAtOnceLeavesInactiveChoices) {
  const std::string script = "SET\n0\"海\"\n1\"山\"\n<\n0\n>\n海の段落\nE\n";  // choice 0 leads back to line 0
  const ReaderRun run = RunScript(script, Choose(110) + "state\nwait 100\nmove 10 150\nstate\nclick 1 1\nmove 10 150\nstate\n");
  EXPECT_EQ(run.TimedRecords("state Mode="),
            (Strings{"@0 state Mode=ModeCooldown", "@100 state Mode=ModeReady", "@100 state Mode=ModeChoosing"}));
  EXPECT_EQ(run.Values("HoverChoice"), (Strings{"5", "5", "1"}));
  EXPECT_EQ(run.StateNumber("CurrentLine"), 0);
  // Drawn by the run, then emptied: the list is on the page with no slot behind it.
  EXPECT_GT(Pixels(Shot(script, Choose(110)), 100, 124, 0, false), 0);
  EXPECT_EQ(run.Records("state ChoiceTexts[").size(), 2u);
}

TEST(Choices, SkipModeStopsAtChoicesAndGoesOnAfterOne) {
  const ReaderRun run = RunScript("C\n一\n二\n<\nSET\n0\"海\"\n1\"山\"\n>\n外\n<\n海一\n海二\n海三\n海四\nE\n",
                            "wait 100\ncommand 520\nwait 300\nstate\n" + Choose(110) + "wait 60\nstate\nwait 90\nstate\n");
  // The choice runs from the next "<" and the cooldown holds the ticks for 100 ms.
  EXPECT_EQ(run.Values("Mode"), (Strings{"ModeChoosing", "ModeCooldown", "ModeReady"}));
  EXPECT_EQ(run.Values("CurrentLine"), (Strings{"4", "10", "12"}));
  EXPECT_EQ(run.StateNumber("SkipMode"), 1);
}

}  // namespace
