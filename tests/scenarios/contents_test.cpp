// The contents file read at start-up, and the contents entries that open a chapter.
#include <gtest/gtest.h>

#include <optional>

#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;

// The filled entries of the state report, "Labels[k]=..." and "Files[k]=...".
Strings Entries(const ReaderRun& run) {
  Strings entries;
  for (const std::string& record : run.Records("state Toc")) entries.push_back(record.substr(9));
  return entries;
}

TEST(Toc, LinesFillTheEntriesInOrder) {
  std::string lines;
  Strings twenty(40);  // twenty labels, then twenty files: the 21st line is not read
  for (int k = 0; k < 21; ++k) {
    const std::string n = std::to_string(k);
    lines += "L" + n + ",f" + n + ".txt\n";
    if (k == 20) break;
    twenty[k] = "Labels[" + n + "]=L" + n;
    twenty[k + 20] = "Files[" + n + "]=f" + n + ".txt";
  }
  const std::string x(300, 'x'), y(254, 'y');
  const std::pair<std::optional<std::string>, Strings> cases[] = {
      {lines, twenty}, {"", {}}, {std::nullopt, {}},
      {std::string("ef\0,g.txt\n", 10), {"Labels[0]=ef"}},  // a NUL ends the line
      // Each comma restarts the file text without clearing it; the byte after a comma is data.
      {"ab,xyz.txt,q\nno comma\ncd,\nef,,g\n",
       {"Labels[0]=ab", "Labels[1]=no comma", "Labels[2]=cd", "Labels[3]=ef", "Files[0]=qyz.txt",
        "Files[2]=\\n", "Files[3]=,g"}},
      // Pieces of lines over 255 bytes, fields cut at 99 bytes; a comma ending a piece or
      // the file reads nothing after it.
      {x + ",f.txt\n" + y + ",rest\nab,cd,",
       {"Labels[0]=" + x.substr(0, 99), "Labels[1]=" + x.substr(0, 45),
        "Labels[2]=" + y.substr(0, 99), "Labels[3]=rest", "Labels[4]=ab", "Files[1]=f.txt",
        "Files[4]=cd"}},
  };
  for (const auto& [bytes, entries] : cases) {
    Novel novel;
    novel.Write("タイトル.txt", "C\n一\n二\n");
    if (bytes) novel.WriteBytes("ファイル.txt", *bytes);
    const ReaderRun run = RunNovel(novel, "state\n");
    EXPECT_EQ(Entries(run), entries) << bytes.value_or("no file");
    EXPECT_EQ(run.exit_code, 0);
  }
}

// A missing file runs the empty table.
TEST(Contents, AnEntryKeepsItsNumberPastAnEmptyLineAndOpensItsFileFromLineZero) {
  Novel novel;
  novel.Write("タイトル.txt", "T 序\nC\n一\n二\n");
  novel.Write("ファイル.txt", "第一章,a.txt\n\n第三章,c.txt\n", true);  // no a.txt
  novel.Write("c.txt", "三の前\nC\n三の一\n三の二\n");
  const ReaderRun run =
      RunNovel(novel, "rclick 5 5\npick none\nwait 100\nclick 5 5\nstate\ncommand 502\nstate\n"
                      "wait 100\nclick 5 5\nstate\ncommand 500\ncommand 519\nstate\n");
  EXPECT_EQ(run.Records("menu item 1 5"),
            (Strings{"menu item 1 500 第一章", "menu item 1 502 第三章"}));
  // A new script starts at page 0; its "C" makes it 1.
  EXPECT_EQ(run.Values("PageNumber"), (Strings{"1", "0", "1", "0"}));
  Strings lines = run.Values("CurrentLine");
  lines.resize(3);  // not the empty table's
  EXPECT_EQ(lines, (Strings{"4", "1", "3"}));
  EXPECT_EQ(run.Values("Mode")[1], "ModeReady");
  EXPECT_EQ(run.Values("ScriptFileName"), (Strings{"タイトル.txt", "c.txt", "c.txt", ""}));
  EXPECT_EQ(run.exit_code, 0);
}

}  // namespace
