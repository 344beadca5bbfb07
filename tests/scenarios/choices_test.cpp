// Choices: the list after "SET", its hover bands and highlight, and where a click leads.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;
constexpr std::uint32_t GREEN = 0x00FF00;

const std::string SHOW_LIST = "wait 100\nclick 1 1\n";  // the start-up step stops at "SET"
const std::string LIST = "<\nSET\n0\"海へ行く\"\n1\"山へ行く\"\n>\n海の段落\nE\n";
// Line 6, between the first block's ">" and the next "<", is never run.
const std::string THREE_BLOCKS =
    "C\n<\nSET\n0\"海\"\n1\"山\"\n>\n外\n<\nSET\n0\"戻る\"\n1\"進む\"\n0\n>\n<\n終わり\nE\n";
const std::string GAP = "C\n<\nSET\n0\"海\"\n1\"山\"\n3\"川\"\n3\n>\n海の段落\n<\n次\nE\n";  // no 2
const std::string NO_ZERO = "C\n<\nSET\n1\"山\"\n2\"川\"\n>\n<\n次\nE\n";

std::string Choose(int y) {
  return "move 10 " + std::to_string(y) + "\nclick 10 " + std::to_string(y) + "\n";
}

TEST(Choices, HoverBandsAreTheFirstRowsOfEachChoice) {
  const struct {
    std::string script;
    std::vector<int> ys;
    std::string hovers;
  } cases[] = {
      {"C\n" + LIST, {100, 101, 124, 123, 130, 145, 144, 167, 168}, "505051515"},
      {"C\nF1\n" + LIST, {141, 142, 162, 163, 203, 204}, "055115"},
      {"C\nF-9\n" + LIST, {90, 95, 100, 101, 110}, "55555"},  // a negative height: no bands
      // The list ends at the missing digit, the bands do not.
      {GAP, {240}, "3"},
      {NO_ZERO, {150}, "1"},
  };
  for (const auto& c : cases) {
    std::string events = SHOW_LIST;
    for (int y : c.ys) events += "move 300 " + std::to_string(y) + "\nstate\n";
    std::string hovers;
    for (const std::string& hover : RunScript(c.script, events).Values("HoverChoice")) {
      hovers += hover;
    }
    EXPECT_EQ(hovers, c.hovers) << c.script;
  }
}

TEST(Choices, OnlyAChangeRedrawsAndTheHighlightIsPureGreen) {
  const std::string script = "C\n" + LIST;
  const auto presents = [&](const std::string& moves) {
    return RunScript(script, SHOW_LIST + moves).Count("present");
  };
  const int shown = presents("");
  EXPECT_EQ(presents("move 10 105\n"), shown + 1);
  // 600 110 is in the lit band.
  EXPECT_EQ(presents("move 10 105\nmove 600 110\nmove 10 150\n"), shown + 2);
  EXPECT_EQ(presents("move 10 300\nmove 10 310\n"), shown);
  const Bitmap lit = Screenshot(script, SHOW_LIST + "move 10 150\n");
  EXPECT_GT(CountPixels(lit, {0, 144, 640, 188}, GREEN), 20);
  EXPECT_EQ(CountPixels(lit, {0, 0, 640, 480}, GREEN), CountPixels(lit, {0, 144, 640, 188}, GREEN));
  const Bitmap grey = Screenshot(script, SHOW_LIST + "move 10 150\nmove 10 110\nmove 10 300\n");
  EXPECT_EQ(CountPixels(grey, {0, 0, 640, 480}, GREEN), 0);
}

TEST(Choices, TheListIsDrawnUpToTheFirstMissingDigit) {
  for (const auto& [digits, drawn] : {std::pair{GAP, true}, {NO_ZERO, false}}) {
    const Bitmap list = Screenshot(digits, SHOW_LIST);
    EXPECT_EQ(CountPixels(list, {0, 100, 640, 124}, 0, false) > 0 &&
                  CountPixels(list, {0, 144, 640, 168}, 0, false) > 0,
              drawn);
    EXPECT_EQ(CountPixels(list, {0, drawn ? 188 : 100, 640, 400}, 0, false), 0) << digits;
  }
}

TEST(Choices, WhereAClickLeads) {
  const struct {
    std::string script, events, line_block_texts;
  } cases[] = {
      {THREE_BLOCKS, Choose(110) + SHOW_LIST + Choose(150), "14 2 0"},  // moves on twice
      {THREE_BLOCKS, Choose(110) + SHOW_LIST + Choose(110) + "wait 100\n", "2 0 0"},  // to line 0
      // A target after ">" counts for nothing.
      {"C\n<\nSET\n0\"海\"\n1\"山\"\n>\n1\n<\n次\nE\n", Choose(150), "8 1 0"},
      {GAP, Choose(240), "2 0 0"},
      {NO_ZERO, Choose(150), "7 1 0"},
      // Nowhere to move on to: the run goes on behind the list's ">", or, without one,
      // past the table's end, where the script ends.
      {"C\n<\nSET\n0\"海\"\n1\"山\"\n段落\n", Choose(110), "700 0 0"},
      {"C\n<\nSET\n0\"海\"\n1\"山\"\n>\n外\nE\n", Choose(150), "7 0 0"},        // no next block
      {"C\n一\nSET\n0\"海\"\n1\"山\"\n>\n0\n段落\nE\n", Choose(110), "7 0 0"},  // no "<" at all
      {"C\nSET\n>\n外\nE\n", "", "4 0 0"},  // nothing to choose: the first click goes on
  };
  for (const auto& c : cases) {
    const ReaderRun run = RunScript(c.script, SHOW_LIST + c.events + "state\n");
    EXPECT_EQ(run.State("CurrentLine") + " " + run.State("ChoiceBlockIndex") + " " +
                  std::to_string(run.Records("state ChoiceTexts[").size()),
              c.line_block_texts)
        << c.script << c.events;
  }
}

TEST(Choices, ABranchThatMeetsSetAtOnceLeavesInactiveChoices) {
  // Choice 0 leads back to line 0.
  const std::string script = "SET\n0\"海\"\n1\"山\"\n<\n0\n>\n海の段落\nE\n";
  const ReaderRun run = RunScript(script, Choose(110) + "state\nwait 100\nmove 10 150\nstate\n"
                                                        "click 1 1\nmove 10 150\nstate\n");
  EXPECT_EQ(run.TimedRecords("state Mode="),
            (Strings{"@0 state Mode=ModeCooldown", "@100 state Mode=ModeReady",
                     "@100 state Mode=ModeChoosing"}));
  EXPECT_EQ(run.Values("HoverChoice"), (Strings{"5", "5", "1"}));
  EXPECT_EQ(run.StateNumber("CurrentLine"), 0);
  // Drawn by the run, then emptied: the list is on the page with no slot behind it.
  EXPECT_GT(CountPixels(Screenshot(script, Choose(110)), {0, 100, 640, 124}, 0, false), 0);
  EXPECT_EQ(run.Records("state ChoiceTexts[").size(), 2u);
}

TEST(Choices, SkipModeStopsAtChoicesAndGoesOnAfterOne) {
  const ReaderRun run =
      RunScript("C\n一\n二\n<\nSET\n0\"海\"\n1\"山\"\n>\n外\n<\n海一\n海二\n海三\n海四\nE\n",
                "wait 100\ncommand 520\nwait 300\nstate\n" + Choose(110) +
                    "wait 60\nstate\nwait 90\nstate\n");
  // The choice runs from the next "<" and the cooldown holds the ticks for 100 ms.
  EXPECT_EQ(run.Values("Mode"), (Strings{"ModeChoosing", "ModeCooldown", "ModeReady"}));
  EXPECT_EQ(run.Values("CurrentLine"), (Strings{"4", "10", "12"}));
  EXPECT_EQ(run.StateNumber("SkipMode"), 1);
}

}  // namespace
