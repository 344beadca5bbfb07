// The bookmark file read at start-up, storing a slot and writing the file, and opening
// a slot again at its page.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/novel.h"

namespace {

const std::string kScript = "C\n一\n二\n三\nC\n四\n五\n六\n";

ReaderRun StartWithBookmarks(const std::string& bookmark_bytes) {
  Novel novel;
  novel.Write("タイトル.txt", kScript);
  novel.WriteBytes("しおり.sio", bookmark_bytes);
  return RunNovel(novel, "state\n");
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string WithCrLf(const std::string& text_utf8) {
  std::string bytes;
  for (char c : ToShiftJis(text_utf8)) {
    if (c == '\n') bytes += '\r';
    bytes += c;
  }
  return bytes;
}

std::string DefaultLine() { return "NO DATA,1,タイトル.txt\n"; }

void ExpectSlot(const ReaderRun& run, int slot, const std::string& label, const std::string& page,
                const std::string& file) {
  const std::string k = "[" + std::to_string(slot) + "]";
  EXPECT_EQ(run.State("BookmarkLabels" + k), label) << "slot " << slot;
  EXPECT_EQ(run.State("BookmarkPages" + k), page) << "slot " << slot;
  EXPECT_EQ(run.State("BookmarkFiles" + k), file) << "slot " << slot;
}

void ExpectDefault(const ReaderRun& run, int slot) { ExpectSlot(run, slot, "NO DATA", "1", "タイトル.txt"); }

TEST(BookmarkFile, TwoLinesFillTwoSlots) {
  ReaderRun run = StartWithBookmarks(WithCrLf("一章 P.3,3,a.txt\n二章 P.4,4,b.txt\n"));
  ExpectSlot(run, 0, "一章 P.3", "3", "a.txt");
  ExpectSlot(run, 1, "二章 P.4", "4", "b.txt");
  for (int slot = 2; slot < 5; ++slot) ExpectDefault(run, slot);
}

TEST(BookmarkFile, EmptyLineLeavesItsSlotAndSixthLineIsNotRead) {
  ReaderRun empty = StartWithBookmarks(ToShiftJis("一,3,a.txt\n\n三,5,c.txt\n"));
  ExpectSlot(empty, 0, "一", "3", "a.txt");
  ExpectDefault(empty, 1);
  ExpectSlot(empty, 2, "三", "5", "c.txt");

  std::string six;
  for (int k = 0; k < 6; ++k) six += "L" + std::to_string(k) + "," + std::to_string(k) + ",f.txt\n";
  ReaderRun run = StartWithBookmarks(six);
  ExpectSlot(run, 4, "L4", "4", "f.txt");
  EXPECT_EQ(run.log.find("L5"), std::string::npos);
}

TEST(BookmarkFile, FieldsThatGetNoByteKeepTheirText) {
  // One field; two commas; a comma before the line feed; more than three fields.
  ReaderRun run = StartWithBookmarks(ToShiftJis("ラベル\nL,,5,f.txt\nM,\nN,2,g.txt,extra\nab,xy\n"));
  ExpectSlot(run, 0, "ラベル", "1", "タイトル.txt");
  ExpectSlot(run, 1, "L", ",5", "f.txt");
  ExpectSlot(run, 2, "M", "\\n", "タイトル.txt");
  ExpectSlot(run, 3, "N", "2", "g.txt");
  // A shorter text ends at its own terminator, whatever the default left behind it.
  ExpectSlot(run, 4, "ab", "xy", "タイトル.txt");
}

TEST(BookmarkFile, LongLineArrivesInPiecesAndCommaAtTheEndReadsNothingBehindIt) {
  ReaderRun run = StartWithBookmarks(std::string(300, 'x') + ",2,a.txt\n" + std::string(254, 'y') + ",z\nQ,");
  ExpectSlot(run, 0, std::string(99, 'x'), "1", "タイトル.txt");
  ExpectSlot(run, 1, std::string(45, 'x'), "2", "a.txt");
  // A piece cut right after its comma: the page gets no byte.
  ExpectSlot(run, 2, std::string(99, 'y'), "1", "タイトル.txt");
  ExpectSlot(run, 3, "z", "1", "タイトル.txt");
  // The last line without a line feed, ending in a comma.
  ExpectSlot(run, 4, "Q", "1", "タイトル.txt");
}

TEST(Bookmarks, StoreWritesFiveCrLfLines) {
  Novel novel;
  novel.Write("タイトル.txt", "T 第一章\n" + kScript);
  ReaderRun run = RunNovel(novel, "command 601\nstate\n");
  ExpectSlot(run, 1, "第一章 P.1", "1", "タイトル.txt");
  const std::string expected =
      WithCrLf(DefaultLine() + "第一章 P.1,1,タイトル.txt\n" + DefaultLine() + DefaultLine() + DefaultLine());
  EXPECT_EQ(ReadBytes(novel.File("しおり.sio")), expected);
}

TEST(Bookmarks, EmptyTitleAndPageZero) {
  Novel novel;
  novel.Write("タイトル.txt", "一\n二\n");
  ReaderRun run = RunNovel(novel, "command 600\nstate\n");
  ExpectSlot(run, 0, " P.0", "0", "タイトル.txt");
}

TEST(Bookmarks, TitleWithACommaSplitsWhenReadBack) {
  Novel novel;
  novel.Write("タイトル.txt", "T 章,その二\n" + kScript);
  ReaderRun stored = RunNovel(novel, "command 602\nstate\n");
  ExpectSlot(stored, 2, "章,その二 P.1", "1", "タイトル.txt");
  ReaderRun reread = RunNovel(novel, "state\n");
  // The fourth field, the file, is dropped.
  ExpectSlot(reread, 2, "章", "その二 P.1", "1");
}

TEST(Bookmarks, OpenReturnsToTheBeginningOfTheSavedPage) {
  Novel novel;
  novel.Write("タイトル.txt", kScript);
  // Page 2 begins at line 4; the save happens on its second paragraph.
  ReaderRun run = RunNovel(novel,
                           "wait 100\nclick 5 5\nwait 100\nclick 5 5\nwait 100\nclick 5 5\nwait 100\n"
                           "click 5 5\nwait 100\nstate\ncommand 603\nwait 100\nclick 5 5\nwait 100\n"
                           "command 608\nstate\n");
  const std::vector<std::string> lines = run.Records("state CurrentLine=");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "state CurrentLine=7");
  EXPECT_EQ(run.State("BookmarkPages[3]"), "2");
  // Back on page 2 with its first paragraph drawn.
  EXPECT_EQ(lines[1], "state CurrentLine=6");
  EXPECT_EQ(run.StateNumber("PageNumber"), 2);
  EXPECT_EQ(run.State("Mode"), "ModeReady");
}

TEST(Bookmarks, OpeningADefaultSlotOpensPageOneOfTheFirstScript) {
  Novel novel;
  novel.Write("タイトル.txt", kScript);
  ReaderRun run = RunNovel(novel, "wait 100\nclick 5 5\nwait 100\nclick 5 5\nwait 100\ncommand 609\nstate\n");
  EXPECT_EQ(run.StateNumber("PageNumber"), 1);
  EXPECT_EQ(run.StateNumber("CurrentLine"), 2);
}

// The save runs in a child process under a file size limit, which cuts the new file
// part-way; the old file must stay whole and load in the next run.
TEST(Bookmarks, FailedSaveLeavesTheOldFileIntact) {
  Novel novel;
  novel.Write("タイトル.txt", "T 新\n" + kScript);
  const std::string old_bytes =
      WithCrLf("旧 P.5,5,a.txt\n二 P.6,6,b.txt\n" + DefaultLine() + DefaultLine() + DefaultLine());
  novel.WriteBytes("しおり.sio", old_bytes);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit = {40, 40};
    setrlimit(RLIMIT_FSIZE, &limit);
    ReaderRun run = RunNovel(novel, "command 600\n");
    _exit(run.exit_code == 0 ? 0 : 10);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(ReadBytes(novel.File("しおり.sio")), old_bytes);
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(novel.path())) ++entries;
  EXPECT_EQ(entries, 2);  // the script and the bookmark file, no temporary left
  ReaderRun restarted = RunNovel(novel, "state\n");
  ExpectSlot(restarted, 0, "旧 P.5", "5", "a.txt");
  ExpectSlot(restarted, 1, "二 P.6", "6", "b.txt");
}

TEST(Bookmarks, SaveIntoAnUnwritablePlaceKeepsTheSlotInMemory) {
  Novel novel;
  novel.Write("タイトル.txt", kScript);
  std::filesystem::create_directory(novel.File("しおり.sio"));
  ReaderRun run = RunNovel(novel, "command 604\nstate\n");
  ExpectSlot(run, 4, " P.1", "1", "タイトル.txt");
  EXPECT_TRUE(std::filesystem::is_directory(novel.File("しおり.sio")));
  EXPECT_EQ(run.exit_code, 0);
}

}  // namespace
