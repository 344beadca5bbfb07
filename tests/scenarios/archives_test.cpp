// Novels as they are shared: the sample novel read from its archives (ZIP with CP932
// names and no UTF-8 flag, ZIP with the flag, 7z, LZH) and from the folders that
// unzip, Python's zipfile, bsdtar, 7z and lhasa extract reads as from its own folder;
// archives made to hurt give their line and the reader reads on.
#include <gtest/gtest.h>

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
std::string DemoEvents(const std::string& folder) {
  std::istringstream in(ReadBytes(YOMU_DEMO_EVENTS));
  std::string events;
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with("screenshot ")) {
      line = "screenshot " + folder + "/" + fs::path(line).filename().string();
    }
    events += line + "\n";
  }
  return events + "command 600\n";
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
        {"demo.7z", "cd " + demo + " && 7z a -bd " + ShellQuoted(path) + " . >/dev/null"},
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
  for (const char* form : {"sjis.zip", "utf8.zip", "demo.7z", "demo.lzh", "unzip", "zipfile",
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
  } cases[] = {
      {"bomb-claims.zip", 0, {"unpacks to more than 2048 MiB", "\"a.bmp\" is too large"}},
      {"bomb-unpacks.zip", 0, {"\"a.bmp\" is not a Windows bitmap"}},
      {"overlapping.zip", 0, {"\"a.bmp\" is damaged"}},
      {"many-members.zip", 0, {"holds more than 20000 members"}},
      {"escaping.zip", 0, {"3 members of the archive are left out", "\"a.bmp\" not found"}},
      {"encrypted.zip", 0, {"\"a.bmp\" is encrypted in the archive"}},
      {"truncated.zip", 0, {"the archive is damaged after"}},
      {"not-an-archive.zip", 2, {"is neither a novel folder nor an archive that yomu reads"}},
  };
  for (const auto& c : cases) {
    HeadlessOptions options;
    options.novel = In(std::string("hostile/") + c.archive);
    const ReaderRun run = RunHeadlessWith(options, "click 10 10\nstate\n");
    EXPECT_EQ(run.exit_code, c.status) << c.archive << run.errors;
    for (const std::string& line : c.lines) {
      EXPECT_NE(run.errors.find(line), std::string::npos) << c.archive << "\n" << run.errors;
    }
    if (c.status == 0) {
      EXPECT_EQ(run.State("Mode"), "ModeFinished") << c.archive;
    }
  }
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
