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

TEST_F(Desktop, F12AndPrintWriteThePageToThePicturesFolderNeverOverAFile) {
  Novel home;
  WriteConfig("user-dirs.dirs", "XDG_PICTURES_DIR=\"" + home.path() + "/Bilder\"\n");
  const ReaderRun run = RunNovel(
      novel_, "click 10 10\nkey F12\nkey PrintScreen\nscreenshot " + home.File("shown.png") + "\n");
  const std::vector<std::string> shots = run.Records("screenshot");
  ASSERT_EQ(shots.size(), 2u) << run.log;
  const std::string name = fs::path(novel_.path()).filename().string();
  const std::regex form("screenshot " + home.path() + "/Bilder/yomu/" + name +
                        R"(-20\d{6}-\d{6}(-2)?\.png)");
  const Bitmap shown = ReadPng(home.File("shown.png"));
  for (const std::string& shot : shots) {
    EXPECT_TRUE(std::regex_match(shot, form)) << shot;
    const Bitmap written = ReadPng(shot.substr(11));
    ASSERT_EQ(written.width(), 640);
    ASSERT_EQ(written.height(), 480);
    EXPECT_EQ(std::memcmp(written.row(0), shown.row(0), 640 * 480 * 4), 0);
  }
  EXPECT_NE(shots[0], shots[1]);
  WriteConfig("user-dirs.dirs", "XDG_PICTURES_DIR=\"/dev/null/p\"\n");
  EXPECT_EQ(RunNovel(novel_, "key F12\n").errors,
            "yomu: the screenshot cannot be written in /dev/null/p/yomu\n");
}

}  // namespace
