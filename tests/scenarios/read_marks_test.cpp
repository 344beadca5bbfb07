// Read marks: a paragraph read in one run is passed by Ctrl in the next, which stops at
// the first paragraph not read before; an author's new version of a script keeps the
// marks of the paragraphs it leaves as they were; equal paragraphs of a file are marked
// apart; a damaged file is read as none, with a warning, and written anew.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>

#include "platform/files/user_data.h"
#include "support/novel.h"

namespace {

const std::string HOLD_CTRL = "wait 100\nkeydown Ctrl\nwait 1000\nstate\nkeyup Ctrl\n";

struct Rereading {
  const char* first;   // read a page, then clicks more
  int clicks;
  const char* second;  // read with Ctrl held; nullptr: the first again
  const char* stops_after_line;
};

const Rereading CASES[] = {
    {"C\n一\n二\n三\n四\n五\nE\n", 2, nullptr, "5"},
    // Lines added before and among them: the marks stay with the paragraphs.
    {"C\n一\n二\n三\n四\nE\n", 3, "C\n序\n一\n二\n三\n変\n四\nE\n", "6"},
    {"C\n始\n同じ\n別\n同じ\n終\nE\n", 2, nullptr, "5"},
};

TEST(ReadMarks, CtrlPassesWhatEarlierRunsReadAndStopsAtTheFirstNewParagraph) {
  for (const Rereading& reading : CASES) {
    Novel novel;
    novel.Write("タイトル.txt", reading.first);
    RunNovel(novel, "wait 100\n" + Times(reading.clicks, "click 1 1\nwait 100\n"));
    if (reading.second != nullptr) novel.Write("タイトル.txt", reading.second);
    const ReaderRun again = RunNovel(novel, HOLD_CTRL);
    EXPECT_EQ(again.Records("skip"), std::vector<std::string>{"skip stop unread"});
    EXPECT_EQ(again.State("CurrentLine"), reading.stops_after_line) << reading.first;
    EXPECT_EQ(again.State("SkipMode"), "0");
  }
}

TEST(ReadMarks, ADamagedFileIsReadAsNoneAndWrittenAnew) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\nE\n");
  char real[PATH_MAX];
  const std::string folder = NovelUserDirectory(realpath(novel.path().c_str(), real)).value();
  ASSERT_TRUE(MakeUserDirectory(folder));
  std::ofstream(folder + "/read-marks") << "yomu read marks 1\nnot a mark\n";
  const ReaderRun run = RunNovel(novel, HOLD_CTRL);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.Records("warning").size(), 1u);
  EXPECT_EQ(run.Count("skip stop unread"), 1);
  // Two marks, ascending, as 16 hex digits a line.
  const std::string marks = ReadBytes(folder + "/read-marks");
  EXPECT_EQ(marks.size(), 18u + 2 * 17);
  EXPECT_LT(marks.substr(18, 16), marks.substr(35, 16));
  const std::string passing = "wait 100\nkeydown Ctrl\nwait 500\nkeyup Ctrl\n";
  EXPECT_TRUE(RunNovel(novel, passing).Records("skip").empty());
}

}  // namespace
