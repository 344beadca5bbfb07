// The bookmark file: reading it at start-up, storing a slot, and opening a slot at its page.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;

const std::string SCRIPT = "C\n一\n二\n三\nC\n四\n五\n六\n";
const std::string NO_FILE = "|1|タイトル.txt", DEFAULT = "NO DATA" + NO_FILE;
const std::string DEFAULT_LINE = "NO DATA,1,タイトル.txt\r\n";

// Every slot as "label|page|file".
Strings Slots(const ReaderRun& run) {
  Strings slots;
  for (const std::string k : {"[0]", "[1]", "[2]", "[3]", "[4]"}) {
    slots.push_back(run.State("BookmarkLabels" + k) + "|" + run.State("BookmarkPages" + k) + "|" +
                    run.State("BookmarkFiles" + k));
  }
  return slots;
}

TEST(BookmarkFile, LinesFillTheSlotsInOrder) {
  std::string six;
  for (int k = 0; k < 6; ++k) six += "L" + std::to_string(k) + "," + std::to_string(k) + ",f.txt\n";
  const std::string x(300, 'x'), y(254, 'y');
  const std::pair<std::string, Strings> cases[] = {
      {ToShiftJis("一章 P.3,3,a.txt\r\n\n三,5,c.txt\n"),
       {"一章 P.3|3|a.txt", DEFAULT, "三|5|c.txt", DEFAULT, DEFAULT}},
      {std::string("ab\0cd,3,x.txt\n", 14), {"ab" + NO_FILE, DEFAULT, DEFAULT, DEFAULT, DEFAULT}},
      // The sixth line is not read.
      {six, {"L0|0|f.txt", "L1|1|f.txt", "L2|2|f.txt", "L3|3|f.txt", "L4|4|f.txt"}},
      // One field; two commas; a comma before the line feed; four fields; a text
      // shorter than the default.
      {ToShiftJis("ラベル\nL,,5,f.txt\nM,\nN,2,g.txt,extra\nab,xy\n"),
       {"ラベル" + NO_FILE, "L|,5|f.txt", "M|\\n|タイトル.txt", "N|2|g.txt", "ab|xy|タイトル.txt"}},
      // Lines over 255 bytes arrive in pieces; a comma at the end of a piece or the
      // file reads nothing.
      {x + ",2,a.txt\n" + y + ",z\nQ,",
       {x.substr(0, 99) + NO_FILE, x.substr(0, 45) + "|2|a.txt", y.substr(0, 99) + NO_FILE,
        "z" + NO_FILE, "Q" + NO_FILE}},
  };
  for (const auto& [bytes, slots] : cases) {
    Novel novel;
    novel.Write("タイトル.txt", SCRIPT);
    novel.WriteBytes("しおり.sio", bytes);
    const ReaderRun run = RunNovel(novel, "state\n");
    EXPECT_EQ(Slots(run), slots) << bytes;
    EXPECT_EQ(run.log.find("L5"), std::string::npos);
  }
}

TEST(Bookmarks, StoringWritesFiveCrLfLinesAndOpeningReturnsToTheStartOfTheSavedPage) {
  Novel novel;
  novel.Write("タイトル.txt", "T 第一章\n" + SCRIPT);
  RunNovel(novel, "command 601\n");
  EXPECT_EQ(ReadBytes(novel.File("しおり.sio")),
            ToShiftJis(DEFAULT_LINE + "第一章 P.1,1,タイトル.txt\r\n" + Times(3, DEFAULT_LINE)));
  novel.Write("タイトル.txt", "T 章,その二\n" + SCRIPT);
  EXPECT_EQ(Slots(RunNovel(novel, "command 602\nstate\n"))[2], "章,その二 P.1|1|タイトル.txt");
  EXPECT_EQ(Slots(RunNovel(novel, "state\n"))[2], "章|その二 P.1|1");  // the file is a fourth field

  novel.Write("タイトル.txt", SCRIPT);
  const std::string next = "wait 100\nclick 5 5\n";
  // Saved on page 2, which begins at line 4, at its second paragraph; opened one
  // paragraph later.
  const ReaderRun run = RunNovel(novel, Times(4, next) + "wait 100\nstate\ncommand 603\n" + next +
                                            "wait 100\ncommand 608\nstate\n");
  EXPECT_EQ(run.Values("CurrentLine"), (Strings{"7", "6"}));
  EXPECT_EQ(run.State("BookmarkPages[3]"), "2");
  EXPECT_EQ(run.StateNumber("PageNumber"), 2);
  EXPECT_EQ(run.State("Mode"), "ModeReady");
}

// A file size limit in a child process cuts the new file part-way; a folder in the
// file's place refuses it.
TEST(Bookmarks, AFailedSaveLeavesTheOldFileIntactAndKeepsTheSlotInMemory) {
  Novel novel;
  novel.Write("タイトル.txt", "T 新\n" + SCRIPT);
  const std::string old_bytes = ToShiftJis("旧 P.5,5,a.txt\r\n");
  novel.WriteBytes("しおり.sio", old_bytes);
  const rlimit limit = {40, 40};
  EXPECT_EXIT(std::signal(SIGXFSZ, SIG_IGN); setrlimit(RLIMIT_FSIZE, &limit);
              _exit(RunNovel(novel, "command 600\n").exit_code), testing::ExitedWithCode(0), "");
  EXPECT_EQ(ReadBytes(novel.File("しおり.sio")), old_bytes);

  novel.Write("タイトル.txt", "一\n二\n");  // no title, and page 0 without a "C"
  std::filesystem::remove(novel.File("しおり.sio"));
  std::filesystem::create_directory(novel.File("しおり.sio"));
  const ReaderRun run = RunNovel(novel, "command 604\nstate\n");
  EXPECT_EQ(Slots(run)[4], " P.0|0|タイトル.txt");
  EXPECT_TRUE(std::filesystem::is_directory(novel.File("しおり.sio")));
  EXPECT_EQ(run.exit_code, 0);
}

}  // namespace
