// The settings file: NAME = VALUE lines, the last of a name counting, numbers only in
// their range; every line it does not set comes back as it was.
#include <gtest/gtest.h>

#include "platform/files/settings_file.h"

namespace {

TEST(SettingsFile, ReadsTheLastLineOfANameAndKeepsEveryOtherLine) {
  SettingsFile settings = SettingsFile::Parse(
      "# volume = 10\nvolume=20\n  volume =  30 \nodd line\nmuted = yes\nsize = 2x\nvolume2 = 5");
  EXPECT_EQ(settings.Get("volume"), "30");
  EXPECT_EQ(settings.Number("volume", 0, 100), 30);
  EXPECT_EQ(settings.Number("volume", 0, 20), std::nullopt);
  EXPECT_EQ(settings.Number("size", 0, 9), std::nullopt);
  EXPECT_EQ(settings.Get("# volume"), std::nullopt);
  EXPECT_EQ(settings.Get("missing"), std::nullopt);
  settings.Set("volume", "40");
  settings.Set("window", "3");
  EXPECT_EQ(settings.Text(),
            "# volume = 10\nvolume=20\nvolume = 40\nodd line\nmuted = yes\nsize = 2x\n"
            "volume2 = 5\nwindow = 3\n");
}

}  // namespace
