// Page replay through the commands that use it: opening a bookmark and going back one page.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;

// Runs the start-up, then opens slot 0 of a bookmark file that names page_text.
ReaderRun OpenPage(const std::string& script, const std::string& page_text,
                   const std::string& after = "") {
  Novel novel;
  novel.Write("タイトル.txt", script);
  novel.Write("しおり.sio", "印," + page_text + ",タイトル.txt\n");
  return RunNovel(novel, "state\ncommand 605\nstate\n" + after);
}

TEST(Replay, OpeningAPageRestoresItsState) {
  const struct {
    std::string script, page;
    Strings want;
  } cases[] = {
      // Fifteen lines fill a page: page 3 began at line 31 by overflow; it is drawn,
      // and the run stops behind it.
      {"C\n" + Times(40, "一\n"), "3", {"PageNumber=3", "CurrentLine=32", "TextTop=34"}},
      // The replay stops at line 0 with page 0; the run's page clear makes it 1.
      {"C\n一\n二\n", "1", {"PageNumber=1", "CurrentLine=2"}},
      {"C\n一\n二\n", "0", {"PageNumber=0", "CurrentLine=2"}},  // below one: no search, -1, 0
      {"一\nC\n二\n", "NaN", {"PageNumber=0", "CurrentLine=1"}},
      // In a run "FC" sets only the brightness; the replay reads it as a font size of 0.
      {"F1\n一\nFC50\nC\n二\n三\n", "1",
       {"FontHeight=24", "TextBrightness=100", "PageNumber=1", "CurrentLine=5"}},
      {"T 一章\nM\nC\n一\nT 二章\n/\nM\nC\n二\n三\n", "2",
       {"ChapterTitle=二章", "Caption=二章", "FadeMode=1", "PageNumber=2", "CurrentLine=9"}},
      // ASCII lines never overflow in the replay, so page 2 is the second "C".
      {"C\n" + Times(40, "abc\n") + "C\n一\n", "2", {"PageNumber=2", "CurrentLine=43"}},
      {"C\n一\nC\n二\n", "99", {"PageNumber=99", "CurrentLine=4"}},  // the last page start
  };
  for (const auto& c : cases) {
    const ReaderRun run = OpenPage(c.script, c.page);
    for (const std::string& want : c.want) {
      const std::string name = want.substr(0, want.find('='));
      EXPECT_EQ(name + "=" + run.State(name), want) << c.script << " page " << c.page;
    }
  }
  for (const char* page : {"-2147483648", "2147483647"}) {
    EXPECT_EQ(OpenPage("C\n一\n", page, "wait 100\ncommand 800\nstate\n").exit_code, 0);
  }
}

TEST(Replay, TheOpenedPageLooksAsTheReadPage) {
  Novel novel;
  novel.Write("タイトル.txt", "T 章\nC\n" + Times(40, "一\n"));
  novel.Write("しおり.sio", "印,3,タイトル.txt\n");
  const std::string read = novel.File("read.png"), opened = novel.File("opened.png");
  RunNovel(novel, Times(30, "wait 100\nclick 5 5\n") + "screenshot " + read + "\n");
  const ReaderRun run = RunNovel(novel, "command 605\nscreenshot " + opened + "\nstate\n");
  EXPECT_EQ(run.StateNumber("PageNumber"), 3);
  const Bitmap read_page = ReadPng(read), opened_page = ReadPng(opened);
  EXPECT_TRUE(std::equal(read_page.row(0), read_page.row(480), opened_page.row(0)));
  EXPECT_GT(CountPixels(opened_page, {250, 440, 640, 460}, 0, false), 0);  // the label
}

TEST(Replay, BackOnePageShowsThePageBeforeFromItsFirstParagraph) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\nC\n三\n四\n");
  const ReaderRun run = RunNovel(novel, "state\ncommand 800\nstate\n" +
                                            Times(3, "wait 100\nclick 5 5\n") +
                                            "state\ncommand 800\nstate\n");
  // Nothing happens on page 1; from page 2 it is page 1 again with its first
  // paragraph drawn.
  EXPECT_EQ(run.Values("CurrentLine"), (Strings{"2", "2", "6", "2"}));
  EXPECT_EQ(run.Values("PageNumber"), (Strings{"1", "1", "2", "1"}));
  novel.Write("タイトル.txt", "一\n二\n三\n");  // from page 0 it goes below zero
  const ReaderRun zero = RunNovel(novel, "command 800\nstate\n");
  EXPECT_EQ(zero.State("PageNumber") + " " + zero.State("CurrentLine"), "-1 1");
}

}  // namespace
