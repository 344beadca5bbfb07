// The per-user folder of a novel: its key stays the same for the same folder in every
// version, and the user's data folder comes from XDG_DATA_HOME or the home.
#include "platform/files/user_data.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

TEST(NovelKey, IsTheFolderNameAndAStableHashOfItsPath) {
  const std::pair<std::string, std::string> cases[] = {
      {"/usr/share/games/青い鳥", "青い鳥-cf017e30"},
      {"/home/a/novel", "novel-053664ec"},
      {"/home/a/novel/", "novel-053664ec"},
      {"/", "root-2a0c975e"},
  };
  for (const auto& [path, key] : cases) EXPECT_EQ(NovelKey(path), key) << path;
  std::string long_name;
  for (int k = 0; k < 120; ++k) long_name += "あ";
  const std::string key = NovelKey("/" + long_name);  // cut between characters
  EXPECT_EQ(key.substr(0, 99), long_name.substr(0, 99));
  EXPECT_EQ(key.size(), 99u + 9u);
}

TEST(NovelUserDirectory, ComesFromXdgDataHomeElseTheHome) {
  const char* saved = std::getenv("XDG_DATA_HOME");
  const std::string kept = saved != nullptr ? saved : "";
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  const std::pair<const char*, std::string> cases[] = {
      {"/data", "/data/yomu/novel-053664ec"},
      {"relative/data", home + "/.local/share/yomu/novel-053664ec"},
      {"", home + "/.local/share/yomu/novel-053664ec"},
  };
  for (const auto& [data_home, directory] : cases) {
    setenv("XDG_DATA_HOME", data_home, 1);
    EXPECT_EQ(NovelUserDirectory("/home/a/novel").value_or("none"), directory) << data_home;
  }
  setenv("XDG_DATA_HOME", kept.c_str(), 1);
}

TEST(UserPictures, ComeFromUserDirsWithTheHomeFilledIn) {
  const std::string text = "# by xdg-user-dirs-update\nXDG_PICTURES_DIR=\"$HOME/B \\\"2\\\"\"\n";
  EXPECT_EQ(PicturesInUserDirs(text, "/home/a"), "/home/a/B \"2\"");
  EXPECT_EQ(PicturesInUserDirs("XDG_PICTURES_DIR=\"/srv/p\"\n", "/home/a"), "/srv/p");
  EXPECT_EQ(PicturesInUserDirs("XDG_PICTURES_DIR=\"relative\"\n", "/home/a"), std::nullopt);
}

}  // namespace
