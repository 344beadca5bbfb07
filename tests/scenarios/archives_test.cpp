// Novels as they are shared: the sample novel read from its archives (ZIP with CP932
// names and no UTF-8 flag, ZIP with the flag, 7z, solid 7z, LZH, compressed tar) and
// from the folders that unzip, Python's zipfile, bsdtar, 7z and lhasa extract reads
// as from its own folder, a second time from the cache alone; the cache keeps to its
// size; archives made to hurt give their line and the reader reads on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <regex>
#include <sstream>

#include "app/headless_runner.h"
#include "check/check_command.h"
#include "support/novel.h"
#include "support/shell.h"
#include "support/test_data.h"

namespace fs = std::filesystem;

namespace {

// The sample novel's events with their screenshots in folder, and a bookmark saved.
std::string DemoEvents(const std::string& folder, bool save = true) {
  std::istringstream in(ReadBytes(YOMU_DEMO_EVENTS));
  std::string events;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("screenshot ")) {
      line = "screenshot " + folder + "/" + fs::path(line).filename().string();
    }
    events += line + "\n";
  }
  return events + (save ? "command 600\n" : "");
}

// The names of the archives' folders in the cache.
std::set<std::string> CachedArchives() {
  std::set<std::string> names;
  std::error_code error;
  for (const auto& folder : fs::directory_iterator(
           std::string(getenv("XDG_CACHE_HOME")) + "/yomu/archives", error)) {
    names.insert(folder.path().filename().string().substr(0, folder.path().filename().string().rfind('-')));
  }
  return names;
}

void WriteSettings(const std::string& text) {
  const fs::path path = fs::path(getenv("XDG_CONFIG_HOME")) / "yomu/settings.conf";
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

class Archives : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { shared_ = new Novel; }
  static void TearDownTestSuite() { delete shared_; }

  // A form of the sample novel, or the folder of hostile archives, made the first
  // time a test of this process asks for it.
  static std::string In(const std::string& form) {
    const std::string path = shared_->path() + "/" + form;
    if (fs::exists(path)) return path;
    const std::string demo = ShellQuoted(YOMU_DEMO_DIR);
    const std::string tools = ShellQuoted(std::string(YOMU_TESTS_DIR) + "/support") + "/";
    const std::string lzh = ShellQuoted(TestDataPath("archives/demo.lzh"));
    const std::map<std::string, std::string> commands = {
        {"sjis.zip", "python3 " + tools + "write_zip.py " + demo + " sjis.zip"},
        {"utf8.zip", "python3 " + tools + "write_zip.py --utf8 " + demo + " utf8.zip"},
        {"demo.7z", "cd " + demo + " && 7z a -bd -ms=off " + ShellQuoted(path) + " . >/dev/null"},
        {"solid.7z", "cd " + demo + " && 7z a -bd -ms=on " + ShellQuoted(path) + " . >/dev/null"},
        {"demo.tar.gz", "bsdtar -czf demo.tar.gz -C " + demo + " ."},
        {"demo.tar.bz2", "bsdtar -cjf demo.tar.bz2 -C " + demo + " ."},
        {"demo.tar.xz", "bsdtar -cJf demo.tar.xz -C " + demo + " ."},
        {"demo.lzh", "cp " + lzh + " demo.lzh"},
        {"unzip", "mkdir unzip && cd unzip && unzip -q ../sjis.zip"},
        {"zipfile", "python3 -m zipfile -e sjis.zip zipfile"},
        {"bsdtar", "mkdir bsdtar && cd bsdtar && bsdtar -xf ../sjis.zip"},
        {"7z", "mkdir 7z && cd 7z && 7z x -bd ../sjis.zip >/dev/null"},
        {"lhasa", "mkdir lhasa && cd lhasa && lhasa xq " + lzh},
        {"hostile", "python3 " + tools + "hostile_archives.py hostile"},
    };
    const std::string name = form.substr(0, form.find('/'));
    if (name == "unzip" || name == "zipfile" || name == "bsdtar" || name == "7z") In("sjis.zip");
    const ShellResult made =
        RunShell("cd " + ShellQuoted(shared_->path()) + " && " + commands.at(name) + " 2>&1");
    EXPECT_EQ(made.status, 0) << made.output;
    return path;
  }

  // The run's log with the novel's place in it made the same for every form.
  static std::string Log(const ReaderRun& run, const std::string& novel) {
    return std::regex_replace(run.log, std::regex(novel), "NOVEL");
  }

  static Novel* shared_;
};

Novel* Archives::shared_ = nullptr;

TEST_F(Archives, TheSampleNovelReadsAsFromItsFolderInEveryFormItIsSharedIn) {
  const Novel shots;
  HeadlessOptions options;
  options.novel = YOMU_DEMO_DIR;
  fs::create_directory(shots.File("folder"));
  const std::string expected = Log(RunHeadlessWith(options, DemoEvents(shots.File("folder"))),
                                   YOMU_DEMO_DIR);
  for (const char* form : {"sjis.zip", "utf8.zip", "demo.7z", "solid.7z", "demo.lzh",
                           "demo.tar.gz", "demo.tar.bz2", "demo.tar.xz", "unzip", "zipfile",
                           "bsdtar", "7z", "lhasa"}) {
    SCOPED_TRACE(form);
    options.novel = In(form);
    const std::set<fs::path> before(fs::directory_iterator(shared_->path()), {});
    fs::create_directory(shots.File(form));
    const ReaderRun run = RunHeadlessWith(options, DemoEvents(shots.File(form)));
    EXPECT_EQ(Log(run, options.novel), expected);
    for (const auto& page : fs::directory_iterator(shots.File("folder"))) {
      EXPECT_EQ(ReadBytes(shots.File(form) + "/" + page.path().filename().string()),
                ReadBytes(page.path()))
          << page.path().filename();
    }
    // Nothing is written beside an archive: its bookmarks go to the per-user folder.
    EXPECT_EQ(std::set<fs::path>(fs::directory_iterator(shared_->path()), {}), before);
    if (fs::is_regular_file(options.novel)) {
      const std::string user = std::string(getenv("XDG_DATA_HOME")) + "/yomu/";
      bool saved = false;
      for (const auto& folder : fs::directory_iterator(user)) {
        saved |= folder.path().filename().string().starts_with(std::string(form) + "-") &&
                 fs::exists(folder.path() / "しおり.sio");
      }
      EXPECT_TRUE(saved);
    }
  }
}

// An archive's bytes scribbled over in place, its size, time and inode kept: the
// cache alone can give its pages. A newer time makes it another archive, which reads
// as what it now is. A member that a killed pass left half written is not taken.
TEST_F(Archives, ASecondOpeningReadsTheCacheAloneAndAChangedArchiveNever) {
  for (const char* form : {"solid.7z", "demo.tar.xz"}) {
    SCOPED_TRACE(form);
    const Novel copy;
    HeadlessOptions options;
    options.novel = copy.File(form);
    fs::copy_file(In(form), options.novel);
    const std::string events = DemoEvents(copy.path(), false);
    const ReaderRun first = RunHeadlessWith(options, events);
    struct stat before {};
    ASSERT_EQ(stat(options.novel.c_str(), &before), 0);
    const int archive = open(options.novel.c_str(), O_WRONLY);
    const std::string zeros(static_cast<std::size_t>(before.st_size), '\0');
    ASSERT_EQ(pwrite(archive, zeros.data(), zeros.size(), 0), before.st_size);
    close(archive);
    const timespec times[2] = {before.st_atim, before.st_mtim};
    utimensat(AT_FDCWD, options.novel.c_str(), times, 0);
    const std::string cached = std::string(getenv("XDG_CACHE_HOME")) + "/yomu/archives/" +
                               *CachedArchives().begin() + "-";
    for (const auto& folder : fs::directory_iterator(fs::path(cached).parent_path())) {
      if (!folder.path().string().starts_with(cached)) continue;
      std::ofstream(folder.path() / "0.part") << "half";
    }
    EXPECT_EQ(Log(RunHeadlessWith(options, events), options.novel), Log(first, options.novel));
    EXPECT_FALSE(fs::exists(fs::path(cached).parent_path() / "0.part"));
    fs::last_write_time(options.novel, fs::last_write_time(options.novel) + std::chrono::hours(1));
    const ReaderRun changed = RunHeadlessWith(options, "");
    EXPECT_NE(changed.errors.find("script \"タイトル.txt\" not found"), std::string::npos);
    fs::remove_all(std::string(getenv("XDG_CACHE_HOME")) + "/yomu/archives");
  }
}

// Room for two sample novels: the third takes the place of the one read least recently.
// Room for less than one: what does not fit is read from the archive, with one line.
// A cache folder that is a link is not used, with one line.
TEST_F(Archives, TheCacheKeepsToItsSizeAndToFoldersOfItsOwn) {
  const std::string archives = std::string(getenv("XDG_CACHE_HOME")) + "/yomu/archives";
  fs::remove_all(archives);
  WriteSettings("archive-cache-mib = 7\n");
  HeadlessOptions options;
  for (const char* form : {"demo.tar.gz", "demo.tar.bz2", "demo.tar.xz"}) {
    options.novel = In(form);
    RunHeadlessWith(options, "");
  }
  EXPECT_EQ(CachedArchives(), (std::set<std::string>{"demo.tar.bz2", "demo.tar.xz"}));
  WriteSettings("archive-cache-mib = 1\n");
  fs::remove_all(archives);
  const Novel shots;
  options.novel = YOMU_DEMO_DIR;
  const std::string events = DemoEvents(shots.path(), false);
  const std::string expected = Log(RunHeadlessWith(options, events), YOMU_DEMO_DIR);
  options.novel = In("demo.tar.gz");
  const std::string note =
      "@0 warning the cache holds at most 1 MiB (archive-cache-mib in settings.conf): the "
      "members that the cache lacks are read from the archive each time\n";
  const std::string small = Log(RunHeadlessWith(options, events), options.novel);
  EXPECT_TRUE(small.starts_with(note)) << small;
  EXPECT_EQ(small.substr(std::min(note.size(), small.size())), expected);
  fs::remove(fs::path(getenv("XDG_CONFIG_HOME")) / "yomu/settings.conf");
  fs::remove_all(archives);
  fs::create_directory_symlink("/tmp", archives);
  const ReaderRun linked = RunHeadlessWith(options, "");
  EXPECT_NE(linked.errors.find("/yomu/archives is a link, not a folder"), std::string::npos)
      << linked.errors;
  fs::remove(archives);
}

// unzip makes a folder of a name's first byte where a 0x5C second byte follows (表紙.bmp
// as ò/Äå.bmp); check finds the picture there and tells of the folder once.
TEST(UnzippedNovel, FindsTheFoldersThatUnzipMadeOfASecondByte) {
  const Novel source, unzipped;
  source.Write("タイトル.txt", "BMP \"表紙.bmp\"\n一。\nBMP \"表紙.bmp\"\n二。\nE\n");
  fs::copy_file(std::string(YOMU_DEMO_DIR) + "/lamp.bmp", source.File("表紙.bmp"));
  const std::string tools = ShellQuoted(std::string(YOMU_TESTS_DIR) + "/support/write_zip.py");
  const ShellResult made = RunShell("python3 " + tools + " " + ShellQuoted(source.path()) + " " +
                                    ShellQuoted(unzipped.File("n.zip")) + " && cd " +
                                    ShellQuoted(unzipped.path()) +
                                    " && { unzip -q n.zip; test $? -le 1; } 2>&1");
  ASSERT_EQ(made.status, 0) << made.output;
  fs::remove(unzipped.File("n.zip"));
  std::ostringstream out, errors;
  EXPECT_EQ(RunCheckCommand({unzipped.path()}, out, errors), 0) << errors.str();
  EXPECT_TRUE(out.str().ends_with("0 errors, 2 warnings in 1 script\n")) << out.str();
  EXPECT_NE(out.str().find("(picture \"表紙.bmp\" is stored as \"ò/Äå.bmp\")"), std::string::npos);
}

TEST_F(Archives, CheckTellsOfMangledNamesOncePerFolderAndFindsTheArchivesClean) {
  for (const char* form : {"sjis.zip", "demo.lzh", "bsdtar", "unzip", "zipfile"}) {
    std::ostringstream out, errors;
    EXPECT_EQ(RunCheckCommand({In(form)}, out, errors), 0) << form << errors.str();
    const std::string text = out.str();
    const bool mangled = std::string(form) == "unzip" || std::string(form) == "zipfile";
    EXPECT_TRUE(text.ends_with(mangled ? "0 errors, 1 warning in 5 scripts\n"
                                       : "0 errors, 0 warnings in 5 scripts\n"))
        << form << "\n" << text;
    if (mangled) {
      EXPECT_NE(text.find("were changed by the program that unpacked its archive"),
                std::string::npos);
    }
  }
}

TEST_F(Archives, ArchivesMadeToHurtGiveTheirLineAndTheReaderReadsOn) {
  const struct {
    const char* archive;
    int status;
    std::vector<std::string> lines;
    bool reads_to_the_end = true;
  } cases[] = {
      {"bomb-claims.zip", 0, {"unpacks to more than 2048 MiB", "\"a.bmp\" is too large"}},
      {"bomb-unpacks.zip", 0, {"\"a.bmp\" is not a Windows bitmap"}},
      {"overlapping.zip", 0, {"\"a.bmp\" is damaged"}},
      {"many-members.zip", 0, {"holds more than 20000 members"}},
      {"escaping.zip", 0, {"3 members of the archive are left out", "\"a.bmp\" not found"}},
      {"encrypted.zip", 0, {"\"a.bmp\" is encrypted in the archive"}},
      {"truncated.zip", 0, {"the archive is damaged after"}},
      {"damaged.zip", 0, {"script \"b.txt\" cannot be read: ZIP decompression failed"}, false},
      {"deep.tar.xz", 0, {"1 members of the archive are left out"}},
      {"zeros.tar.bz2", 0, {"the archive unpacks to more than 2048 MiB after 0 members"}, false},
      {"not-an-archive.zip", 2, {"is neither a novel folder nor an archive that yomu reads"}, false},
  };
  for (const auto& c : cases) {
    HeadlessOptions options;
    options.novel = In(std::string("hostile/") + c.archive);
    const ReaderRun run = RunHeadlessWith(options, "click 10 10\nstate\n");
    EXPECT_EQ(run.exit_code, c.status) << c.archive << run.errors;
    for (const std::string& line : c.lines) {
      EXPECT_NE(run.errors.find(line), std::string::npos) << c.archive << "\n" << run.errors;
    }
    if (c.reads_to_the_end) {
      EXPECT_EQ(run.State("Mode"), "ModeFinished") << c.archive;
    }
  }
  // A damaged script is told of in the same words as yomu check's, and in a message.
  const ReaderRun damaged = [&] {
    HeadlessOptions options;
    options.novel = In("hostile/damaged.zip");
    return RunHeadlessWith(options, "");
  }();
  EXPECT_EQ(damaged.Records("message").size(), 1u);
  std::ostringstream out, errors;
  RunCheckCommand({In("hostile/damaged.zip")}, out, errors);
  EXPECT_NE(out.str().find("b.txt: error: the file cannot be read: ZIP decompression failed"),
            std::string::npos)
      << out.str();
}

TEST(NovelWithoutItsFirstScript, SaysWhatItHoldsInstead) {
  Novel holder;
  holder.WriteBytes("novel.zip", "");
  holder.Write("第一部/タイトル.txt", "C\nE\n");
  const ReaderRun run = RunNovel(holder, "");
  EXPECT_EQ(run.Records("message"),
            std::vector<std::string>{
                "message yomu cannot start this novel: script \"タイトル.txt\" not found in " +
                holder.path() + ".\\nIt holds the archive \"novel.zip\": yomu reads an archive as "
                "it is, open that instead.\\nIts folder \"第一部\" holds the first script: open "
                "that folder instead."});
}

}  // namespace
