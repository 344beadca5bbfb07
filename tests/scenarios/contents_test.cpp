// The contents file read at start-up, and the contents entries that open a chapter.
#include <gtest/gtest.h>

#include <string>

#include "support/novel.h"

namespace {

ReaderRun StartWithContents(const std::string& contents_bytes) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\n");
  novel.WriteBytes("ファイル.txt", contents_bytes);
  return RunNovel(novel, "state\n");
}

TEST(Toc, EmptyLineKeepsItsEntryNumber) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\n");
  novel.Write("ファイル.txt", "第一章,a.txt\n\n第三章,c.txt\n", true);
  ReaderRun run = RunNovel(novel, "state\nrclick 5 5\npick none\n");
  EXPECT_EQ(run.State("TocLabels[0]"), "第一章");
  EXPECT_EQ(run.State("TocFiles[0]"), "a.txt");
  EXPECT_EQ(run.Records("state TocLabels[1]=").size(), 0u);
  EXPECT_EQ(run.State("TocLabels[2]"), "第三章");
  EXPECT_EQ(run.State("TocFiles[2]"), "c.txt");
  const std::vector<std::string> items = run.Records("menu item 1 5");
  EXPECT_EQ(items, (std::vector<std::string>{"menu item 1 500 第一章", "menu item 1 502 第三章"}));
}

TEST(Toc, TwentyLinesAreReadAndTheTwentyFirstIsNot) {
  std::string contents;
  for (int k = 0; k < 21; ++k) contents += "L" + std::to_string(k) + ",f" + std::to_string(k) + ".txt\n";
  ReaderRun run = StartWithContents(contents);
  EXPECT_EQ(run.State("TocLabels[0]"), "L0");
  EXPECT_EQ(run.State("TocLabels[19]"), "L19");
  EXPECT_EQ(run.State("TocFiles[19]"), "f19.txt");
  EXPECT_EQ(run.Records("state TocLabels[").size(), 20u);
  EXPECT_EQ(run.log.find("L20"), std::string::npos);
}

TEST(Toc, CommasRestartTheFileWithoutClearingIt) {
  // The second comma's bytes go over the first file text; its tail stays.
  ReaderRun run = StartWithContents("ab,xyz.txt,q\nno comma\ncd,\nef,,g\n");
  EXPECT_EQ(run.State("TocLabels[0]"), "ab");
  EXPECT_EQ(run.State("TocFiles[0]"), "qyz.txt");
  EXPECT_EQ(run.State("TocLabels[1]"), "no comma");
  EXPECT_EQ(run.Records("state TocFiles[1]=").size(), 0u);
  // A comma right before the line feed: the file text is the line feed alone.
  EXPECT_EQ(run.State("TocFiles[2]"), "\\n");
  // The byte right after a comma is data, even another comma.
  EXPECT_EQ(run.State("TocFiles[3]"), ",g");
}

TEST(Toc, LongLinesArriveInPiecesAndFieldsAreCutAt99Bytes) {
  ReaderRun run = StartWithContents(std::string(300, 'x') + ",f.txt\n" + std::string(120, 'y') + ",z\n");
  EXPECT_EQ(run.State("TocLabels[0]"), std::string(99, 'x'));
  EXPECT_EQ(run.Records("state TocFiles[0]=").size(), 0u);
  EXPECT_EQ(run.State("TocLabels[1]"), std::string(45, 'x'));
  EXPECT_EQ(run.State("TocFiles[1]"), "f.txt");
  EXPECT_EQ(run.State("TocLabels[2]"), std::string(99, 'y'));
}

TEST(Toc, CommaBeforeTheEndOfAPieceOrFileReadsNothingBehindIt) {
  // A piece cut at 255 bytes right after a comma, then a last line without a line feed.
  ReaderRun run = StartWithContents(std::string(254, 'x') + ",rest\nab,cd,");
  EXPECT_EQ(run.State("TocLabels[0]"), std::string(99, 'x'));
  EXPECT_EQ(run.Records("state TocFiles[0]=").size(), 0u);
  EXPECT_EQ(run.State("TocLabels[1]"), "rest");
  EXPECT_EQ(run.State("TocLabels[2]"), "ab");
  EXPECT_EQ(run.State("TocFiles[2]"), "cd");
  EXPECT_EQ(run.exit_code, 0);
}

TEST(Toc, NoFileOrAnEmptyFileGivesNoEntries) {
  EXPECT_EQ(StartWithContents("").Records("state TocLabels[").size(), 0u);
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n");
  EXPECT_EQ(RunNovel(novel, "state\n").Records("state TocLabels[").size(), 0u);
}

TEST(Contents, EntryOpensItsFileFromLineZero) {
  Novel novel;
  novel.Write("タイトル.txt", "T 序\nC\n一\n二\n");
  novel.Write("ファイル.txt", "第一章,a.txt\n\n第三章,c.txt\n");
  novel.Write("c.txt", "三の前\nC\n三の一\n三の二\n");
  ReaderRun run =
      RunNovel(novel, "wait 100\nclick 5 5\nstate\ncommand 502\nstate\nwait 100\nclick 5 5\nstate\n");
  const std::vector<std::string> pages = run.Records("state PageNumber=");
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_EQ(pages[0], "state PageNumber=1");
  // The new script starts at page 0 and its first "C" makes it 1.
  EXPECT_EQ(pages[1], "state PageNumber=0");
  EXPECT_EQ(pages[2], "state PageNumber=1");
  const std::vector<std::string> lines = run.Records("state CurrentLine=");
  EXPECT_EQ(lines[1], "state CurrentLine=1");
  EXPECT_EQ(lines[2], "state CurrentLine=3");
  EXPECT_EQ(run.State("ScriptFileName"), "c.txt");
  EXPECT_EQ(run.Records("state Mode=")[1], "state Mode=ModeReady");
}

TEST(Contents, EntryWithAMissingFileRunsTheEmptyTable) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\n");
  novel.Write("ファイル.txt", "欠,missing.txt\n");
  ReaderRun run = RunNovel(novel, "command 500\nstate\ncommand 519\nstate\n");
  EXPECT_EQ(run.State("ScriptFileName"), "");
  EXPECT_EQ(run.StateNumber("PageNumber"), 0);
  EXPECT_EQ(run.exit_code, 0);
}

}  // namespace
