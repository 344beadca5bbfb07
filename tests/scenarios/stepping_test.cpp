// Stepping through a novel as a reader clicking meets it: pauses, stops, restarts, file
// switches, and long lines in pieces and titles cut, never inside a character.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/novel.h"

namespace {

// One click after the cooldown of the click before, and the state after it.
std::string Clicks(int count) { return Times(count, "click 320 240\nwait 100\nstate\n"); }

TEST(Stepping, TheWorkedExampleFadesShakesAndEnds) {
  const std::string script = "C\nM\n一つ目の段落。\nQ\n二つ目の段落。\nE\n";
  const ReaderRun run = RunScript(script, "state\n");
  // The page clear, the fade of A at fourteen levels 100 ms apart, the shake of a
  // quarter second ending with the page at rest, then the stop test at B presents.
  EXPECT_EQ(run.State("CurrentLine") + run.State("FadeMode") + run.State("PageNumber") +
                run.State("WaitPending"), "4110");
  const std::vector<std::string> presents = run.TimedRecords("present");
  ASSERT_GE(presents.size(), 16u);
  for (int level = 0; level < 14; ++level) {
    EXPECT_EQ(presents[level], "@" + std::to_string(level * 100) + " present");
  }
  EXPECT_EQ(presents[14] + presents[15], "@1650 present@1650 present");
  const ReaderRun ended = RunScript(script, Times(2, "wait 100\nclick 1 1\n") + "state\n");
  EXPECT_EQ(ended.State("Mode") + " " + ended.State("CurrentLine"), "ModeFinished 5");
}

TEST(Stepping, PressesDuringAFadeOrTheCooldownDrawNothing) {
  // The second click arrives while the first one's fade still runs; the third 20 ms
  // after the step; only the fourth, after the cooldown, draws.
  const ReaderRun run = RunScript("C\nM\n一\n二\n三\nE\n",
                                  "wait 100\nclick 1 1\nclick 1 1\nstate\n"
                                  "wait 20\nclick 1 1\nstate\nwait 40\nclick 1 1\nstate\n");
  EXPECT_EQ(run.Values("CurrentLine"), (std::vector<std::string>{"4", "4", "5"}));
  EXPECT_EQ(run.Count("timer set 301 50"), 2);
  EXPECT_EQ(run.Count("timer kill 301"), 1);  // the last cooldown ends with the window
}

// A script, the clicks after start-up, and fields with their values at start-up
// and after each click.
struct StepCase {
  const char* what;
  std::string script;
  int clicks;
  std::vector<std::pair<std::string, std::vector<std::string>>> expected;
};

TEST(Stepping, PausesStopsRestartsAndSwitches) {
  // Fourteen blank lines bring the cursor to 346; a line of 50 bytes fits there
  // (346 + 24 + 1 = 371) and one of 10 bytes at 370 does not (394).
  const std::string overflowing =
      "C\n" + std::string(14, '\n') +
      "あいうえおかきくけこさしすせそたちつてとなにぬね.\nABCDEFGHI\nE\n";
  const StepCase cases[] = {
      {"blank lines move a row without a pause; a single space is text",
       "C\n\n\n 一行目\n \n二\nE\n",
       1,
       {{"TextTop", {"82", "106"}}, {"CurrentLine", {"4", "5"}}}},
      {"the overflow at 346",
       overflowing,
       1,
       {{"TextTop", {"370", "34"}}, {"PageNumber", {"1", "2"}}}},
      {"SEE restarts before the pause, then only clears it",
       "C\n最初の段落\nSEE\n",
       2,
       {{"CurrentLine", {"0", "0", "0"}},
        {"WaitPending", {"1", "0", "1"}},
        {"PageNumber", {"1", "1", "2"}}}},
      {"the line before a brace is never shown",
       "C\n一\n見えない段落\n}\nE\n",
       1,
       {{"CurrentLine", {"2", "0"}}, {"TextTop", {"34", "34"}}}},
      {"FI goes on without a pause, page 0 until a clear",
       "C\n一\nFI 第二章.txt\n",
       2,
       {{"ScriptFileName", {"タイトル.txt", "第二章.txt", "第二章.txt"}},
        {"PageNumber", {"1", "0", "1"}},
        {"CurrentLine", {"2", "1", "3"}}}},
      {"FI skips column 2",
       "FIname.txt\n",
       0,
       {{"ScriptFileName", {"ame.txt"}}, {"Mode", {"ModeFinished"}}}},
      {"a stop line holds", "C\n一\n>\n二\nE\n", 3, {{"CurrentLine", {"2", "2", "2", "2"}}}},
      {"after E clicks do nothing",
       "C\n一\nE\n",
       2,
       {{"Mode", {"ModeReady", "ModeFinished", "ModeFinished"}}, {"CurrentLine", {"2", "2", "2"}}}},
      {"running past the table ends as E",
       std::string(700, '\n'),
       0,
       {{"Mode", {"ModeFinished"}}, {"CurrentLine", {"699"}}}},
      {"empty slots pause without moving the cursor",
       "C\n一\n",
       2,
       {{"TextTop", {"34", "34", "34"}}, {"CurrentLine", {"2", "3", "4"}}}},
      {"a missing first script leaves an empty table",
       "",
       0,
       {{"Mode", {"ModeReady"}}, {"CurrentLine", {"1"}}}},
  };
  for (const StepCase& c : cases) {
    Novel novel;
    if (!c.script.empty()) novel.Write("タイトル.txt", c.script);
    novel.Write("第二章.txt", "二章の段落\nC\n三\nE\n");
    novel.Write("ame.txt", "C\nE\n");
    const ReaderRun run = RunNovel(novel, "state\n" + Clicks(c.clicks));
    for (const auto& [field, values] : c.expected) {
      EXPECT_EQ(run.Values(field), values) << c.what << ": " << field;
    }
  }
}

TEST(Stepping, CrLfAndLfFilesRunIdentically) {
  const std::string script = "T 章\nC\nM\n一つ目\n\n二つ目\nF1\n三つ目\nE\n";
  const std::string events = "state\n" + Clicks(3) + "surface /dev/null\n";
  Novel lf, crlf;
  lf.Write("タイトル.txt", script);
  crlf.Write("タイトル.txt", script, true);
  EXPECT_EQ(RunNovel(lf, events).log, RunNovel(crlf, events).log);
}

TEST(WholeCharacters, LongLinesArePiecesThatBeginWithWholeCharacters) {
  const struct {
    std::string script, field, want;
  } cases[] = {
      // イ ends in the byte of "C": cut inside it, the second piece would clear the page.
      {"C\n" + Times(150, "イ") + "\nE\n", "PageNumber", "1"},
      // A command behind 255 single-byte characters is still a command.
      {"C\n" + std::string(255, 'a') + "T 章\nE\n", "ChapterTitle", "章"},
  };
  for (const auto& c : cases) {
    const ReaderRun run = RunScript(c.script, "wait 100\nclick 1 1\nwait 100\nclick 1 1\nstate\n");
    EXPECT_EQ(run.State("Mode") + " " + run.State(c.field), "ModeFinished " + c.want);
  }
}

TEST(WholeCharacters, ATitleCutInsideACharacterLabelsThePageWithItsWholeCharacters) {
  // 54 bytes and the lead byte of い fill the 55 bytes of the title.
  const std::string whole = Times(26, "あ") + "xy";
  const Bitmap cut = Screenshot("T " + whole + "い\nC\n一\n", "");
  const Bitmap kept = Screenshot("T " + whole + "\nC\n一\n", "");
  EXPECT_TRUE(std::equal(cut.row(0), cut.row(480), kept.row(0)));
}

}  // namespace
