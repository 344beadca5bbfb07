// --fullscreen, a broken settings file left as it is, screenshots in the pictures folder.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>

#include "support/novel.h"

namespace fs = std::filesystem;

namespace {

const std::string SCRIPT = "C\n一\n二\nE\n";

// The user's settings folder, emptied after each test.
class Desktop : public ::testing::Test {
 protected:
  void SetUp() override { novel_.Write("タイトル.txt", SCRIPT); }
  void TearDown() override { fs::remove_all(config_); }
  void WriteConfig(const std::string& name, const std::string& bytes) {
    fs::create_directories(fs::path(config_ + "/" + name).parent_path());
    std::ofstream(config_ + "/" + name, std::ios::binary) << bytes;
  }
  std::string Settings() const { return ReadBytes(config_ + "/yomu/settings.conf"); }

  const std::string config_ = getenv("XDG_CONFIG_HOME");
  Novel novel_;
};

TEST_F(Desktop, TheRunnerStartsInFullScreenOnlyAsTheCommandLineSays) {
  // What the window keeps is the window's: a run of the runner depends on nothing kept.
  WriteConfig("yomu/settings.conf", "full-screen = yes\n");
  EXPECT_EQ(RunNovel(novel_, "key F11\nkey F11\nstate\n").Values("IsFullScreen"),
            std::vector<std::string>{"0"});
  ReadingOptions full_screen;
  full_screen.full_screen = true;
  const ReaderRun run = RunNovel(novel_, "state\n", full_screen);
  EXPECT_EQ(run.State("IsFullScreen"), "1");
  EXPECT_EQ(run.Count("display change 640x480"), 1);
  EXPECT_EQ(Settings(), "full-screen = yes\n");
}

TEST_F(Desktop, ABrokenSettingsFileIsLeftAsItIsWithOneLine) {
  const std::string broken("full-screen = yes\nvolume = 50\n\0\xff\xfe", 33);
  WriteConfig("yomu/settings.conf", broken);
  const ReaderRun run = RunNovel(novel_, "key -\nstate\n");
  EXPECT_EQ(run.errors, "yomu: the settings file " + config_ +
                            "/yomu/settings.conf is left as it is (not text): the default "
                            "settings are used\n");
  EXPECT_EQ(run.Records("volume"), std::vector<std::string>{"volume 90"});
  EXPECT_EQ(Settings(), broken);
}

// Named after the novel's title, each screenshot holds the page as it was before its
// key, never the note that the key leaves on the strip for a moment.
TEST_F(Desktop, F12AndPrintWriteThePageToThePicturesFolderNeverOverAFile) {
  Novel home;
  novel_.Write("タイトル.txt", "T 岬/の家\nC\n一\nE\n");
  WriteConfig("user-dirs.dirs", "XDG_PICTURES_DIR=\"" + home.path() + "/Bilder\"\n");
  const ReaderRun run =
      RunNovel(novel_, "click 10 10\nscreenshot " + home.File("page.png") +
                           "\nkey F12\nkey PrintScreen\nscreenshot " + home.File("noted.png") +
                           "\nwait 3000\nscreenshot " + home.File("later.png") + "\n");
  const std::vector<std::string> shots = run.Records("screenshot");
  ASSERT_EQ(shots.size(), 2u) << run.log;
  const std::regex form("screenshot " + home.path() +
                        R"(/Bilder/yomu/岬_の家-20\d{6}-\d{6}(-2)?\.png)");
  const Bitmap page = ReadPng(home.File("page.png"));
  for (const std::string& shot : shots) {
    EXPECT_TRUE(std::regex_match(shot, form)) << shot;
    const Bitmap written = ReadPng(shot.substr(11));
    ASSERT_EQ(written.width(), 640);
    ASSERT_EQ(written.height(), 480);
    EXPECT_EQ(std::memcmp(written.row(0), page.row(0), 640 * 480 * 4), 0);
  }
  EXPECT_NE(shots[0], shots[1]);
  constexpr RECT NOTE{480, 460, 640, 480};
  EXPECT_GT(CountPixels(ReadPng(home.File("noted.png")), NOTE, 0x00FF00), 20);
  EXPECT_EQ(CountPixels(ReadPng(home.File("later.png")), NOTE, 0x00FF00), 0);
  WriteConfig("user-dirs.dirs", "XDG_PICTURES_DIR=\"/dev/null/p\"\n");
  EXPECT_EQ(RunNovel(novel_, "key F12\n").errors,
            "yomu: the screenshot cannot be written in /dev/null/p/yomu: /dev/null/p cannot be "
            "made: mkdir: Not a directory\n");
}

// O offers the novels opened last by their titles (a path that is no UTF-8 read as the
// Shift-JIS it is), then the folders and archives of the current folder; the one
// picked ends the run, which names it for the new start.
TEST_F(Desktop, OOffersTheNovelsOpenedLastByTitleThenThoseOfTheFolder) {
  Novel shelf;
  shelf.Write("岬/タイトル.txt", "C\n一\nE\n");
  shelf.WriteBytes("b.zip", "");
  shelf.Write("notes/readme.txt", "x");
  const std::string state = std::string(getenv("XDG_STATE_HOME")) + "/yomu";
  fs::create_directories(state);
  std::ofstream(state + "/recent-novels") << "/srv/a\t岬の家\n/srv/\x8a\x43\n";
  const fs::path started_in = fs::current_path();
  fs::current_path(shelf.path());
  const ReaderRun picked = RunNovel(novel_, "key O\npick 903\nstate\n");
  const ReaderRun closed = RunNovel(novel_, "key O\npick none\nstate\n");
  fs::current_path(started_in);
  std::vector<std::string> menu = picked.Records("menu item");
  EXPECT_EQ(menu, (std::vector<std::string>{"menu item 0 900 岬の家", "menu item 0 901 /srv/海",
                                            "menu item 0 separator", "menu item 0 902 b.zip",
                                            "menu item 0 903 岬"}));
  EXPECT_EQ(picked.Records("open"), std::vector<std::string>{"open " + shelf.File("岬")});
  EXPECT_EQ(picked.Values("PageNumber").size(), 0u) << picked.log;  // ended at the pick
  EXPECT_EQ(closed.Records("open"), std::vector<std::string>{});
  EXPECT_EQ(closed.Values("PageNumber").size(), 1u);
}

}  // namespace
