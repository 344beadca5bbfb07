// Screenshot names: a title made fit for a file name, cut at a character's boundary so
// that the longest name tried keeps within the folder's limit.
#include "app/screenshot_name.h"

#include <gtest/gtest.h>

namespace {

TEST(ScreenshotName, TitlesBecomeNamesThatEveryFileSystemTakes) {
  EXPECT_EQ(FileNameOfTitle("  岬の家\t"), "岬の家");
  EXPECT_EQ(FileNameOfTitle("a/b\\c:d*e?f\"g<h>i|j\x01"), "a_b_c_d_e_f_g_h_i_j_");
  EXPECT_EQ(FileNameOfTitle(".hidden"), "_hidden");
  EXPECT_EQ(FileNameOfTitle("   "), "");
}

TEST(ScreenshotName, TheTitleIsCutAtACharacterSoTheLongestNameFits) {
  const std::string stamp = "20261209-060000";
  EXPECT_EQ(ScreenshotStem("岬", stamp, 255), "岬-" + stamp);
  // "-STAMP" and "-100.png" take 24 bytes: 7 are left, two characters of three.
  EXPECT_EQ(ScreenshotStem("岬の家", stamp, 31), "岬の-" + stamp);
  EXPECT_EQ(ScreenshotStem("岬の家", stamp, 32), "岬の-" + stamp);
  EXPECT_EQ(ScreenshotStem("岬の家", stamp, 33), "岬の家-" + stamp);
  EXPECT_EQ(ScreenshotStem("岬の家", stamp, 26), stamp);
  EXPECT_EQ(ScreenshotStem("岬の家", stamp, 10), stamp);
  EXPECT_EQ(ScreenshotStem("", stamp, 255), stamp);
}

}  // namespace
