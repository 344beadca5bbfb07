// Page replay through the commands that use it: opening a bookmark and going back
// one page.
#include <gtest/gtest.h>

#include <string>

#include "support/novel.h"

namespace {

std::string Lines(int count, const std::string& line) {
  std::string text;
  for (int k = 0; k < count; ++k) text += line;
  return text;
}

// Runs the start-up, then opens slot 0 of a bookmark file that names page_text.
ReaderRun OpenPage(const std::string& script, const std::string& page_text, const std::string& after = "") {
  Novel novel;
  novel.Write("タイトル.txt", script);
  novel.Write("しおり.sio", "印," + page_text + ",タイトル.txt\n");
  return RunNovel(novel, "state\ncommand 605\nstate\n" + after);
}

TEST(Replay, PageThatBeganByOverflowStartsAtItsTextLine) {
  // Fifteen short lines fill a page; the sixteenth starts the next one. Page 2 begins at
  // line 16 and page 3 at line 31, both by overflow.
  const std::string script = "C\n" + Lines(40, "一\n");
  ReaderRun run = OpenPage(script, "3");
  EXPECT_EQ(run.StateNumber("PageNumber"), 3);
  // The run drew line 31 at the top of the empty page and stopped behind it.
  EXPECT_EQ(run.StateNumber("CurrentLine"), 32);
  EXPECT_EQ(run.StateNumber("TextTop"), 34);
}

// The prepared page with its label and the run's first paragraph look as the page did
// when it was reached by reading.
TEST(Replay, OpenedPageLooksAsTheReadPage) {
  Novel novel;
  novel.Write("タイトル.txt", "T 章\nC\n" + Lines(40, "一\n"));
  novel.Write("しおり.sio", "印,3,タイトル.txt\n");
  const std::string read = novel.File("read.png");
  const std::string opened = novel.File("opened.png");
  RunNovel(novel, Lines(30, "wait 100\nclick 5 5\n") + "screenshot " + read + "\n");
  ReaderRun run = RunNovel(novel, "command 605\nscreenshot " + opened + "\nstate\n");
  EXPECT_EQ(run.StateNumber("PageNumber"), 3);
  const Bitmap read_page = ReadPng(read);
  const Bitmap opened_page = ReadPng(opened);
  int differing = 0;
  int lit_label = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      differing += read_page.pixel(x, y) != opened_page.pixel(x, y);
      lit_label += y >= 440 && x >= 250 && opened_page.pixel(x, y) != 0;
    }
  }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(lit_label, 0);
}

TEST(Replay, ScriptThatBeginsWithAPageClear) {
  // The replay stops at line 0 with page 0; the run's page clear makes it 1 again.
  ReaderRun run = OpenPage("C\n一\n二\n", "1");
  EXPECT_EQ(run.StateNumber("PageNumber"), 1);
  EXPECT_EQ(run.StateNumber("CurrentLine"), 2);
}

TEST(Replay, WantedPageBelowOneSkipsTheSearch) {
  ReaderRun zero = OpenPage("C\n一\n二\n", "0");
  // Line 0 is a page clear: -1 after the replay, 0 after the run.
  EXPECT_EQ(zero.StateNumber("PageNumber"), 0);
  EXPECT_EQ(zero.StateNumber("CurrentLine"), 2);
  ReaderRun text = OpenPage("一\nC\n二\n", "NaN");
  EXPECT_EQ(text.StateNumber("PageNumber"), 0);
  EXPECT_EQ(text.StateNumber("CurrentLine"), 1);
}

TEST(Replay, FcLineResetsTheFont) {
  // In a run "FC" sets only the brightness; the replay reads it as a font size of 0.
  ReaderRun run = OpenPage("F1\n一\nFC50\nC\n二\n三\n", "1");
  EXPECT_EQ(run.Records("state FontHeight=")[0], "state FontHeight=42");
  EXPECT_EQ(run.StateNumber("FontHeight"), 24);
  EXPECT_EQ(run.StateNumber("TextBrightness"), 100);
  EXPECT_EQ(run.StateNumber("PageNumber"), 1);
  EXPECT_EQ(run.StateNumber("CurrentLine"), 5);
}

TEST(Replay, TitleAndFadeModeOfTheLinesBefore) {
  ReaderRun run = OpenPage("T 一章\nM\nC\n一\nT 二章\n/\nM\nC\n二\n三\n", "2");
  EXPECT_EQ(run.State("ChapterTitle"), "二章");
  EXPECT_EQ(run.State("Caption"), "二章");
  EXPECT_EQ(run.StateNumber("FadeMode"), 1);
  EXPECT_EQ(run.StateNumber("PageNumber"), 2);
  EXPECT_EQ(run.StateNumber("CurrentLine"), 9);
}

TEST(Replay, LinesOfAsciiTextAddNothingToTheLayout) {
  // Forty lines of ASCII text never overflow in the replay, so page 2 is the "C" line.
  const std::string script = "C\n" + Lines(40, "abc\n") + "C\n一\n";
  ReaderRun run = OpenPage(script, "2");
  EXPECT_EQ(run.StateNumber("PageNumber"), 2);
  EXPECT_EQ(run.StateNumber("CurrentLine"), 43);
}

TEST(Replay, SearchStopsAtTheEndOfTheTable) {
  // Two pages only: page 99 is not there, so the last page start found is shown.
  ReaderRun run = OpenPage("C\n一\nC\n二\n", "99");
  EXPECT_EQ(run.StateNumber("CurrentLine"), 4);
  EXPECT_EQ(run.StateNumber("PageNumber"), 99);
  EXPECT_EQ(run.exit_code, 0);
  ReaderRun lowest = OpenPage("C\n一\n", "-2147483648", "wait 100\ncommand 800\nstate\n");
  EXPECT_EQ(lowest.exit_code, 0);
  ReaderRun highest = OpenPage("一\n", "2147483647", "wait 100\ncommand 800\nstate\n");
  EXPECT_EQ(highest.exit_code, 0);
}

TEST(Replay, BackOnePageShowsThePageBeforeFromItsFirstParagraph) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\nC\n三\n四\n");
  ReaderRun run = RunNovel(novel,
                           "state\ncommand 800\nstate\nwait 100\nclick 5 5\nwait 100\nclick 5 5\nwait 100\n"
                           "click 5 5\nstate\ncommand 800\nstate\n");
  const std::vector<std::string> lines = run.Records("state CurrentLine=");
  const std::vector<std::string> pages = run.Records("state PageNumber=");
  ASSERT_EQ(lines.size(), 4u);
  // On page 1 nothing happens.
  EXPECT_EQ(lines[1], lines[0]);
  EXPECT_EQ(pages[1], "state PageNumber=1");
  // On page 2, third paragraph of the script: page 1 again, its first paragraph drawn.
  EXPECT_EQ(lines[2], "state CurrentLine=6");
  EXPECT_EQ(pages[2], "state PageNumber=2");
  EXPECT_EQ(lines[3], "state CurrentLine=2");
  EXPECT_EQ(pages[3], "state PageNumber=1");
}

TEST(Replay, BackOnePageFromPageZeroGoesNegative) {
  Novel novel;
  novel.Write("タイトル.txt", "一\n二\n三\n");
  ReaderRun run = RunNovel(novel, "command 800\nstate\n");
  EXPECT_EQ(run.StateNumber("PageNumber"), -1);
  EXPECT_EQ(run.StateNumber("CurrentLine"), 1);
}

}  // namespace
