// Stepping through a novel: pauses, stops, restarts and file switches, as a reader
// clicking meets them.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

// One click after the cooldown of the click before.
std::string Clicks(int count) {
  std::string events;
  for (int i = 0; i < count; ++i) events += "click 320 240\nwait 100\nstate\n";
  return events;
}

TEST(Stepping, WorkedExampleFadesShakesAndEnds) {
  Novel novel;
  novel.Write("タイトル.txt", "C\nM\n一つ目の段落。\nQ\n二つ目の段落。\nE\n");
  ReaderRun run = RunNovel(novel, "state\n");
  // First step: the page clear, the fade-in of A at fourteen levels 100 ms apart,
  // the shake of a quarter second ending with the page at rest, then the stop test
  // at B presents the page.
  EXPECT_EQ(run.StateNumber("CurrentLine"), 4);
  EXPECT_EQ(run.StateNumber("FadeMode"), 1);
  EXPECT_EQ(run.StateNumber("PageNumber"), 1);
  EXPECT_EQ(run.StateNumber("WaitPending"), 0);
  std::vector<std::string> presents = run.TimedRecords("present");
  ASSERT_GE(presents.size(), 16u);
  for (int level = 0; level < 14; ++level) EXPECT_EQ(presents[level], "@" + std::to_string(level * 100) + " present");
  EXPECT_EQ(presents[14], "@1650 present");
  EXPECT_EQ(presents[15], "@1650 present");

  run = RunNovel(novel, "wait 100\nclick 1 1\nstate\nwait 100\nclick 1 1\nstate\n");
  EXPECT_EQ(run.State("Mode"), "ModeFinished");
  EXPECT_EQ(run.StateNumber("CurrentLine"), 5);
}

TEST(Stepping, PressesDuringAFadeOrTheCooldownDrawNothing) {
  Novel novel;
  novel.Write("タイトル.txt", "C\nM\n一\n二\n三\nE\n");
  // The second click arrives while the first one's fade still runs; the third 20 ms
  // after the step; only the fourth, after the cooldown, draws.
  ReaderRun run = RunNovel(novel,
                     "wait 100\nclick 1 1\nclick 1 1\nstate\n"
                     "wait 20\nclick 1 1\nstate\nwait 40\nclick 1 1\nstate\n");
  std::vector<std::string> lines = run.Records("state CurrentLine=");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "state CurrentLine=4");
  EXPECT_EQ(lines[1], "state CurrentLine=4");
  EXPECT_EQ(lines[2], "state CurrentLine=5");
  EXPECT_EQ(run.Count("timer set 301 50"), 2);
  EXPECT_EQ(run.Count("timer kill 301"), 1);  // the last cooldown ends with the window
}

TEST(Stepping, BlankLinesAndTextLinesPauseDifferently) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n\n\n 一行目\n \n二\nE\n");
  ReaderRun run = RunNovel(novel, "state\n" + Clicks(1));
  // Two blank lines move the cursor two rows without a pause; the text line pauses.
  std::vector<std::string> tops = run.Records("state TextTop=");
  ASSERT_EQ(tops.size(), 2u);
  EXPECT_EQ(tops[0], "state TextTop=82");  // 10 + 24 + 24 + 24
  // A line of a single space is a text line of its own: it pauses.
  EXPECT_EQ(run.Records("state CurrentLine=")[1], "state CurrentLine=5");
}

TEST(Stepping, OverflowAtTextTop346ClearsThePageFirst) {
  Novel novel;
  std::string script = "C\n";
  for (int i = 0; i < 14; ++i) script += "\n";             // 10 + 14 * 24 = 346
  script += "あいうえおかきくけこさしすせそたちつてとなにぬね.\n";  // 50 bytes with the line feed
  script += std::string("ABCDEFGHI\n");                     // a text line of 10 bytes
  script += "E\n";
  // Column 0 "A" is no command: the ASCII line is text.
  novel.Write("タイトル.txt", script);
  ReaderRun run = RunNovel(novel, "state\n" + Clicks(1));
  std::vector<std::string> tops = run.Records("state TextTop=");
  // 50 bytes: 346 + 24 + 1 = 371 stays on the page, drawn at 346, cursor 370.
  EXPECT_EQ(tops[0], "state TextTop=370");
  // 10 bytes at 370: 370 + 24 > 380 clears the page, drawn at 10, cursor 34.
  EXPECT_EQ(tops[1], "state TextTop=34");
  EXPECT_EQ(run.Records("state PageNumber=")[1], "state PageNumber=2");
}

TEST(Stepping, SeeRestartsTheFileBeforeThePause) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n最初の段落\nSEE\n");
  ReaderRun run = RunNovel(novel, "state\n" + Clicks(2));
  std::vector<std::string> lines = run.Records("state CurrentLine=");
  std::vector<std::string> waits = run.Records("state WaitPending=");
  // Start-up: text, then SEE reads the file again with the pause still pending.
  EXPECT_EQ(lines[0], "state CurrentLine=0");
  EXPECT_EQ(waits[0], "state WaitPending=1");
  // The next step only clears the pause; the one after runs line 0 again.
  EXPECT_EQ(lines[1], "state CurrentLine=0");
  EXPECT_EQ(waits[1], "state WaitPending=0");
  // Line 0 runs again: a new page, the paragraph, and "SEE" once more.
  EXPECT_EQ(lines[2], "state CurrentLine=0");
  EXPECT_EQ(waits[2], "state WaitPending=1");
  EXPECT_EQ(run.Records("state PageNumber=")[2], "state PageNumber=2");
}

TEST(Stepping, TheLineBeforeABraceIsNeverShown) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n見えない段落\n}\nE\n");
  ReaderRun run = RunNovel(novel, "state\n" + Clicks(1));
  std::vector<std::string> lines = run.Records("state CurrentLine=");
  EXPECT_EQ(lines[0], "state CurrentLine=2");
  EXPECT_EQ(lines[1], "state CurrentLine=0");
  EXPECT_EQ(run.Records("state TextTop=")[1], "state TextTop=34");
}

TEST(Stepping, FileSwitchGoesOnWithoutAPause) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\nFI 第二章.txt\n");
  novel.Write("第二章.txt", "二章の段落\nC\n三\nE\n");
  ReaderRun run = RunNovel(novel, "state\n" + Clicks(2));
  // The first text of the new file is drawn in the same step, page number 0
  // until the next page clear.
  EXPECT_EQ(run.Records("state ScriptFileName=")[1], "state ScriptFileName=第二章.txt");
  EXPECT_EQ(run.Records("state PageNumber=")[1], "state PageNumber=0");
  EXPECT_EQ(run.Records("state CurrentLine=")[1], "state CurrentLine=1");
  EXPECT_EQ(run.Records("state PageNumber=")[2], "state PageNumber=1");
}

TEST(Stepping, FileSwitchSkipsColumnTwo) {
  Novel novel;
  novel.Write("タイトル.txt", "FIname.txt\n");
  novel.Write("ame.txt", "C\nE\n");
  ReaderRun run = RunNovel(novel, "state\n");
  EXPECT_EQ(run.State("ScriptFileName"), "ame.txt");
  EXPECT_EQ(run.State("Mode"), "ModeFinished");
}

TEST(Stepping, AStopLineHoldsAtEveryStep) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n>\n二\nE\n");
  ReaderRun run = RunNovel(novel, Clicks(3));
  for (const std::string& line : run.Records("state CurrentLine=")) EXPECT_EQ(line, "state CurrentLine=2");
  EXPECT_EQ(run.State("Mode"), "ModeReady");
}

TEST(Stepping, EndOfScriptHoldsAndClicksDoNothing) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\nE\n");
  ReaderRun run = RunNovel(novel, Clicks(3));
  EXPECT_EQ(run.State("Mode"), "ModeFinished");
  EXPECT_EQ(run.StateNumber("CurrentLine"), 2);
  EXPECT_EQ(run.Count("timer set 301 50"), 0);
}

TEST(Stepping, CrLfAndLfFilesRunIdentically) {
  const std::string script = "T 章\nC\nM\n一つ目\n\n二つ目\nF1\n三つ目\nE\n";
  const std::string events = "state\n" + Clicks(3) + "surface /dev/null\n";
  Novel lf, crlf;
  lf.Write("タイトル.txt", script);
  crlf.Write("タイトル.txt", script, true);
  EXPECT_EQ(RunNovel(lf, events).log, RunNovel(crlf, events).log);
}

TEST(Stepping, RunningPastTheTableEndsAsAtAnEndLine) {
  Novel novel;
  std::string script;
  for (int i = 0; i < 700; ++i) script += "\n";  // no stop anywhere
  novel.Write("タイトル.txt", script);
  ReaderRun run = RunNovel(novel, "state\n");
  EXPECT_EQ(run.State("Mode"), "ModeFinished");
  EXPECT_EQ(run.StateNumber("CurrentLine"), 699);
}

TEST(Stepping, EmptySlotsPauseWithoutMovingTheCursor) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n");
  ReaderRun run = RunNovel(novel, Clicks(2));
  std::vector<std::string> tops = run.Records("state TextTop=");
  EXPECT_EQ(tops[0], "state TextTop=34");
  EXPECT_EQ(tops[1], "state TextTop=34");
  EXPECT_EQ(run.Records("state CurrentLine=")[1], "state CurrentLine=4");  // one slot a step
}

TEST(Stepping, MissingFirstScriptLeavesAnEmptyTable) {
  Novel novel;
  ReaderRun run = RunNovel(novel, "state\n");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.State("Mode"), "ModeReady");
  EXPECT_EQ(run.StateNumber("CurrentLine"), 1);
}

}  // namespace
