// The bookmark file: reading it at start-up, storing a slot, and opening a slot at its
// page. Where bookmarks go when the novel's folder cannot be written: the per-user copy
// takes the save and is read at the next start; with no writable place the reader says
// so and keeps the slot. Saves that a kill interrupted leave no litter, two readers
// saving at once never spoil each other's saves, and each keeps what the other saved.
#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <thread>

#include "app/headless_runner.h"
#include "platform/files/user_data.h"
#include "support/child_process.h"
#include "support/novel.h"
#include "support/shell.h"

namespace {

namespace fs = std::filesystem;

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

// What the novel's folder holds: a save leaves no temporary beside the file.
long Entries(const Novel& novel) {
  return std::distance(fs::directory_iterator(novel.path()), fs::directory_iterator());
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
  // Fields at their full width are written back whole, and no temporary stays beside.
  const std::string wide = std::string(99, 'L') + ",1," + std::string(99, 'F') + "\r\n";
  novel.WriteBytes("しおり.sio", wide);
  RunNovel(novel, "command 601\n");
  EXPECT_EQ(ReadBytes(novel.File("しおり.sio")),
            wide + ToShiftJis("第一章 P.1,1,タイトル.txt\r\n" + Times(3, DEFAULT_LINE)));
  EXPECT_EQ(Entries(novel), 2);
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
  EXPECT_EQ(Entries(novel), 2);

  novel.Write("タイトル.txt", "一\n二\n");  // no title, and page 0 without a "C"
  fs::remove(novel.File("しおり.sio"));
  fs::create_directory(novel.File("しおり.sio"));
  const ReaderRun run = RunNovel(novel, "command 604\nstate\n");
  EXPECT_EQ(Slots(run)[4], " P.0|0|タイトル.txt");
  EXPECT_TRUE(fs::is_directory(novel.File("しおり.sio")));
  EXPECT_EQ(Entries(novel), 2);
  EXPECT_EQ(run.exit_code, 0);
}

constexpr uid_t UNPRIVILEGED_ID = 65534;  // nobody

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? resolved : path;
}

// The reader runs as a user who may read the novel's folder but not write it: as
// nobody through setpriv when the tests run as root, for whom permission bits stop
// nothing; else as the tester, with the folder's write bits taken away.
class ReadOnlyNovel : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() == 0) {
      runner_ = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
      if (RunShell(runner_ + "true 2>/dev/null").status != 0) {
        GTEST_SKIP() << "running as root and setpriv cannot switch to an unprivileged user here";
      }
    }
    // The binary is copied where any user can run it; the build may lie in a private folder.
    fs::permissions(place_.path(), fs::perms(0755));
    fs::copy_file(YOMU_BINARY, binary_);
    fs::permissions(binary_, fs::perms(0755));
    novel_.Write("タイトル.txt", "T 第一章\n" + SCRIPT);
    novel_.WriteBytes("しおり.sio", OLD_BYTES);
    fs::permissions(novel_.path(), fs::perms(0555));
  }
  void TearDown() override { fs::permissions(novel_.path(), fs::perms(0755)); }

  // The user's data folder, writable by the reader's user or not.
  void MakeDataHome(bool writable) {
    fs::create_directories(data_home_);
    fs::permissions(data_home_, fs::perms(writable ? 0700 : 0555));
    if (writable && geteuid() == 0) {
      ASSERT_EQ(chown(data_home_.c_str(), UNPRIVILEGED_ID, UNPRIVILEGED_ID), 0);
    }
  }

  ReaderRun Run(const std::string& events) {
    const std::string command =
        "printf %s " + ShellQuoted(events) + " | env HOME=" + ShellQuoted(place_.path()) +
        " XDG_DATA_HOME=" + ShellQuoted(data_home_) + " ASAN_OPTIONS=detect_leaks=0 " + runner_ +
        ShellQuoted(binary_) + " --headless " + ShellQuoted(novel_.path()) + " 2>/dev/null";
    ReaderRun run;
    const ShellResult result = RunShell(command);
    run.exit_code = result.status;
    run.log = result.output;
    return run;
  }

  std::string UserDirectory() const {
    return data_home_ + "/yomu/" + NovelKey(RealPath(novel_.path()));
  }

  const std::string OLD_BYTES = ToShiftJis("旧 P.5,5,a.txt\r\n");
  Novel place_;  // the binary and the home
  Novel novel_;
  const std::string binary_ = place_.File("yomu");
  const std::string data_home_ = place_.File("data");
  std::string runner_;
};

TEST_F(ReadOnlyNovel, ASaveLandsInThePerUserCopyWhichTheNextStartReads) {
  MakeDataHome(true);
  const ReaderRun saved = Run("command 601\n");
  EXPECT_EQ(saved.exit_code, 0);
  EXPECT_TRUE(saved.Records("message").empty());
  EXPECT_EQ(ReadBytes(UserDirectory() + "/しおり.sio"),
            OLD_BYTES + ToShiftJis("第一章 P.1,1,タイトル.txt\r\n" + DEFAULT_LINE + DEFAULT_LINE +
                                   DEFAULT_LINE));
  EXPECT_EQ(ReadBytes(novel_.File("しおり.sio")), OLD_BYTES);
  const ReaderRun next = Run("state\n");
  EXPECT_EQ(next.State("BookmarkLabels[0]"), "旧 P.5");
  EXPECT_EQ(next.State("BookmarkLabels[1]"), "第一章 P.1");
}

TEST_F(ReadOnlyNovel, WithNoWritablePlaceTheReaderSaysSoAndKeepsTheSlot) {
  MakeDataHome(false);
  const ReaderRun run = Run("command 601\nstate\n");
  // Below what failed, why: the last place tried cannot be made.
  EXPECT_EQ(run.Records("message"),
            std::vector<std::string>{"message The bookmark was not saved: neither the novel "
                                     "folder nor " + UserDirectory() + " can be written.\\n" +
                                     data_home_ + "/yomu cannot be made: mkdir: Permission denied"});
  EXPECT_EQ(run.State("BookmarkLabels[1]"), "NO DATA");
  EXPECT_EQ(ReadBytes(novel_.File("しおり.sio")), OLD_BYTES);
  EXPECT_FALSE(fs::exists(data_home_ + "/yomu"));
}

// The key is predictable, so a link may wait under its name: it is no folder of the
// reader's, so its files are not read and nothing (bookmarks, read marks) is saved
// through it.
TEST_F(ReadOnlyNovel, APlantedLinkAsThePerUserFolderIsNeitherReadNorWrittenThrough) {
  MakeDataHome(true);
  Novel elsewhere;
  const std::string planted = ToShiftJis("罠 P.9,9,a.txt\r\n");
  elsewhere.WriteBytes("しおり.sio", planted);
  fs::permissions(elsewhere.path(), fs::perms::all);
  fs::create_directory(data_home_ + "/yomu");
  fs::create_directory_symlink(elsewhere.path(), UserDirectory());
  if (geteuid() == 0) {
    ASSERT_EQ(chown((data_home_ + "/yomu").c_str(), UNPRIVILEGED_ID, UNPRIVILEGED_ID), 0);
    ASSERT_EQ(lchown(UserDirectory().c_str(), UNPRIVILEGED_ID, UNPRIVILEGED_ID), 0);
  }
  const ReaderRun run = Run("state\ncommand 601\n");
  EXPECT_EQ(run.State("BookmarkLabels[0]"), "旧 P.5");
  const std::string refused = "warning " + UserDirectory() + " is a link, not a folder: ";
  // (Run as nobody, the reader may also be refused the tester's settings folder.)
  const Strings warnings = run.Records("warning");
  EXPECT_EQ(warnings.back(), refused + "read marks are not saved there");
  ASSERT_EQ(run.Records("message").size(), 1u);
  EXPECT_TRUE(run.Records("message")[0].ends_with(UserDirectory() + " is a link, not a folder"));
  EXPECT_EQ(ReadBytes(elsewhere.File("しおり.sio")), planted);
}

// Temporaries that killed saves left (".しおり.sio.XXXXXX", what a save writes before its
// rename) beside either place go at the next save, not at start-up; other names stay.
// Then two readers save 600 and 400 times at once, and the second is killed at a random
// moment while both save: every save of the first lands in the folder's file, which is
// whole whenever it is read, and no temporary stays.
TEST(InterruptedSaves, KilledSavesLeaveNothingAndTwoReadersSavingAtOnceLoseNothing) {
  Novel novel, place;
  novel.Write("タイトル.txt", "T 第一章\n" + SCRIPT);
  novel.WriteBytes("しおり.sio", Times(5, DEFAULT_LINE));
  const std::string user_directory = NovelUserDirectory(RealPath(novel.path())).value_or("");
  ASSERT_TRUE(fs::create_directories(user_directory));
  const std::pair<std::string, bool> files[] = {
      // name, removed
      {novel.File(".しおり.sio.Ab3xY9"), true},       {novel.File(".しおり.sio.000000"), true},
      {user_directory + "/.しおり.sio.Q1w2E3", true}, {novel.File(".しおり.sio.Ab3xY"), false},
      {novel.File(".しおり.sio.Ab3xY9z"), false},     {novel.File(".ファイル.txt.Ab3xY9"), false},
      {novel.File("しおり.sio.Ab3xY9"), false},       {novel.File(".しおり.sio.Ab-xY9"), false},
  };
  for (const auto& [path, removed] : files) std::ofstream(path) << "half a save";
  RunNovel(novel, "");
  for (const auto& [path, removed] : files) EXPECT_TRUE(fs::exists(path)) << path;
  place.WriteBytes("a.events", Times(600, "command 600\n"));
  place.WriteBytes("b.events", Times(400, "command 601\n"));
  std::atomic<bool> running = true;
  Strings torn;
  std::thread watcher([&] {
    for (; running; std::this_thread::sleep_for(std::chrono::milliseconds(1))) {
      const std::string bytes = ReadBytes(novel.File("しおり.sio"));
      if (std::count(bytes.begin(), bytes.end(), '\n') != 5 || !bytes.ends_with("\r\n")) {
        torn.push_back(bytes);
      }
    }
  });
  const int kill_ms = 50 + static_cast<int>(std::random_device()() % 200);
  const std::string yomu = ShellQuoted(YOMU_BINARY) + " --headless " + ShellQuoted(novel.path());
  const ShellResult run = RunShell(
      yomu + " <" + place.File("a.events") + " >" + place.File("a.log") + " 2>&1 & a=$!; " + yomu +
      " <" + place.File("b.events") + " >/dev/null 2>&1 & b=$!; sleep 0." +
      std::to_string(1000 + kill_ms).substr(1) + "; kill -9 $b; wait $a");
  running = false;
  watcher.join();
  SCOPED_TRACE("the second reader killed after " + std::to_string(kill_ms) + " ms");
  for (const auto& [path, removed] : files) EXPECT_EQ(fs::exists(path), !removed) << path;
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(ReadBytes(place.File("a.log")).find("message"), std::string::npos);
  EXPECT_FALSE(fs::exists(user_directory + "/しおり.sio"));
  EXPECT_TRUE(ReadBytes(novel.File("しおり.sio")).starts_with(ToShiftJis("第一章 P.1,1,")));
  EXPECT_EQ(Entries(novel), 7);  // the script, the bookmarks and the five other names
  EXPECT_EQ(torn, Strings{});
}

}  // namespace

namespace {

// Two readers of one novel, the second started before the first saves: each keeps what
// the other saved, the bookmark slot and the read marks, in the novel's folder and,
// for an archive, in the per-user copy. The second waits for the first with "await".
TEST(TwoReaders, KeepWhatTheOtherSaved) {
  Novel novel, place;
  novel.Write("タイトル.txt", "T 章\nC\n一。\nC\n二。\nC\n三。\nE\n");
  const std::string zip = ShellQuoted(std::string(YOMU_TESTS_DIR) + "/support/write_zip.py");
  ASSERT_EQ(RunShell("python3 " + zip + " " + ShellQuoted(novel.path()) + " " +
                     ShellQuoted(place.File("novel.zip")))
                .status,
            0);
  for (const std::string& path : {novel.path(), place.File("novel.zip")}) {
    SCOPED_TRACE(path);
    const std::string started = place.File("started.png"), done = place.File("done");
    fs::remove(started);
    fs::remove(done);
    place.WriteBytes("b.events", "screenshot " + started + "\nawait " + done +
                                     "\nclick 1 1\nwait 100\ncommand 601\nstate\n");
    Child second({"sh", "-c", "exec \"$0\" --headless --events \"$1\" \"$2\" >\"$3\"", YOMU_BINARY,
                  place.File("b.events"), path, place.File("b.log")});
    ASSERT_TRUE(WaitFor([&] { return fs::exists(started); }, 10000));
    HeadlessOptions options;
    options.novel = path;
    RunHeadlessWith(options, "click 1 1\nwait 100\nclick 1 1\nwait 100\ncommand 600\n");
    std::ofstream(done) << "";
    EXPECT_EQ(second.Wait(10000), 0);  // its events end, and so does it
    const ReaderRun run{0, ReadBytes(place.File("b.log")), ""};
    EXPECT_EQ(run.State("BookmarkLabels[0]"), "章 P.3");  // the first's, shown in the menu
    EXPECT_EQ(run.State("BookmarkLabels[1]"), "章 P.2");
    const std::string marks =
        ReadBytes(NovelUserDirectory(RealPath(path)).value_or("") + "/read-marks");
    EXPECT_EQ(std::count(marks.begin(), marks.end(), '\n'), 1 + 3);  // its header, 一 二 三
  }
}

}  // namespace

namespace {

// Where the reader stopped: a run that reads to page 3 and ends is continued there as
// its bookmark would open it; opened otherwise, the novel starts at its title. A run
// killed five seconds after its last page turn has kept that page.
TEST(ResumePoint, ContinuesWhereTheReaderStopped) {
  Novel novel;
  novel.Write("タイトル.txt", "T 章\nC\n一。\nC\n二。\nC\n三。\nC\n四。\nE\n");
  const std::string to_page_3 = "click 1 1\nwait 100\nclick 1 1\nwait 100\n";
  RunNovel(novel, to_page_3 + "command 600\n");
  ReadingOptions resume;
  resume.resume = true;
  const ReaderRun continued = RunNovel(novel, "wait 100\nstate\n", resume);
  EXPECT_EQ(continued.StateNumber("PageNumber"), 3);
  EXPECT_EQ(continued.Records("state"),
            RunNovel(novel, "command 605\nwait 100\nstate\n").Records("state"));
  EXPECT_EQ(RunNovel(novel, "state\n").StateNumber("PageNumber"), 1);

  const std::string kept = NovelUserDirectory(RealPath(novel.path())).value_or("") + "/resume";
  fs::remove(kept);
  novel.WriteBytes("killed.events",
                   to_page_3 + "wait 6000\nkey Shift\nawait " + novel.File("never") + "\n");
  Child reader({YOMU_BINARY, "--headless", "--events", novel.File("killed.events"), novel.path()});
  EXPECT_TRUE(WaitFor([&] { return fs::exists(kept); }, 10000));
  kill(reader.pid(), SIGKILL);
  EXPECT_EQ(RunNovel(novel, "wait 100\nstate\n", resume).StateNumber("PageNumber"), 3);
  // A file not of its form is no place: the novel starts at its title.
  for (const std::string bytes : {"yomu resume 1\n-3\nx\n", "yomu resume 1\n3\n", "junk"}) {
    std::ofstream(kept, std::ios::binary | std::ios::trunc) << bytes;
    EXPECT_EQ(RunNovel(novel, "wait 100\nstate\n", resume).StateNumber("PageNumber"), 1) << bytes;
  }
}

}  // namespace
