// The contents file read at start-up, and the contents entries that open a chapter.
#include <gtest/gtest.h>

#include <string>

#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;

// The filled entries of the state report, "TocLabels[k]=..." and "TocFiles[k]=...".
Strings Entries(const ReaderRun& run) {
  Strings entries;
  for (const std::string& record : run.Records("state Toc")) entries.push_back(record.substr(9));
  return entries;
}

TEST(Toc, LinesFillTheEntriesInOrder) {
  std::string lines;
  Strings twenty;
  for (int k = 0; k < 21; ++k) lines += "L" + std::to_string(k) + ",f" + std::to_string(k) + ".txt\n";
  for (int k = 0; k < 40; ++k) {  // twenty labels, then twenty files: the 21st line is not read
    const std::string n = std::to_string(k % 20);
    twenty.push_back(k < 20 ? "Labels[" + n + "]=L" + n : "Files[" + n + "]=f" + n + ".txt");
  }
  const std::string x(300, 'x'), y(254, 'y');
  const std::pair<std::string, Strings> cases[] = {
      {lines, twenty},
      {"", {}},
      // Each comma restarts the file text without clearing it; the byte after a comma is data.
      {"ab,xyz.txt,q\nno comma\ncd,\nef,,g\n",
       {"Labels[0]=ab", "Labels[1]=no comma", "Labels[2]=cd", "Labels[3]=ef", "Files[0]=qyz.txt", "Files[2]=\\n",
        "Files[3]=,g"}},
      // Lines over 255 bytes arrive in pieces, fields are cut at 99 bytes, and a comma at the
      // end of a piece or of the file reads nothing behind it.
      {x + ",f.txt\n" + y + ",rest\nab,cd,",
       {"Labels[0]=" + x.substr(0, 99), "Labels[1]=" + x.substr(0, 45), "Labels[2]=" + y.substr(0, 99),
        "Labels[3]=rest", "Labels[4]=ab", "Files[1]=f.txt", "Files[4]=cd"}},
  };
  for (const auto& [bytes, entries] : cases) {
    Novel novel;
    novel.Write("タイトル.txt", "C\n一\n二\n");
    novel.WriteBytes("ファイル.txt", bytes);
    const ReaderRun run = RunNovel(novel, "state\n");
    EXPECT_EQ(Entries(run), entries) << bytes;
    EXPECT_EQ(run.log.find("L20"), std::string::npos);
    EXPECT_EQ(run.exit_code, 0);
  }
  Novel none;
  none.Write("タイトル.txt", "C\n一\n");
  EXPECT_EQ(Entries(RunNovel(none, "state\n")), Strings{});
}

TEST(Contents, EntryKeepsItsNumberPastAnEmptyLineAndOpensItsFileFromLineZero) {
  Novel novel;
  novel.Write("タイトル.txt", "T 序\nC\n一\n二\n");
  novel.Write("ファイル.txt", "第一章,a.txt\n\n第三章,c.txt\n", true);
  novel.Write("c.txt", "三の前\nC\n三の一\n三の二\n");
  const ReaderRun run = RunNovel(
      novel, "rclick 5 5\npick none\nwait 100\nclick 5 5\nstate\ncommand 502\nstate\nwait 100\nclick 5 5\nstate\n");
  EXPECT_EQ(run.Records("menu item 1 5"), (Strings{"menu item 1 500 第一章", "menu item 1 502 第三章"}));
  // The new script starts at page 0 and its first "C" makes it 1.
  EXPECT_EQ(run.Records("state PageNumber="),
            (Strings{"state PageNumber=1", "state PageNumber=0", "state PageNumber=1"}));
  EXPECT_EQ(run.Records("state CurrentLine="),
            (Strings{"state CurrentLine=4", "state CurrentLine=1", "state CurrentLine=3"}));
  EXPECT_EQ(run.Records("state Mode=")[1], "state Mode=ModeReady");
  EXPECT_EQ(run.State("ScriptFileName"), "c.txt");

  // An entry naming a missing file runs the empty table.
  novel.Write("ファイル.txt", "欠,missing.txt\n");
  const ReaderRun missing = RunNovel(novel, "command 500\nstate\ncommand 519\nstate\n");
  EXPECT_EQ(missing.State("ScriptFileName"), "");
  EXPECT_EQ(missing.StateNumber("PageNumber"), 0);
  EXPECT_EQ(missing.exit_code, 0);
}

}  // namespace
