// The window's default scale: the largest whole factor at which page and frame fit
// the display's usable area.
#include <gtest/gtest.h>

#include "platform/sdl/page_view.h"

namespace {

TEST(WindowScale, LargestWholeFactorWhosePageAndFrameFitTheUsableArea) {
  const struct {
    int usable_width, usable_height, frame_width, frame_height, scale;
  } cases[] = {
      {1280, 1024 - 40, 2, 30, 1},  // 960 rows and the title bar pass the panel
      {1920, 1080 - 40, 2, 30, 2}, {1280, 1024, 0, 0, 2}, {3840, 2160 - 40, 2, 30, 4},
      {1282, 990, 2, 30, 2},  // exactly fits
      {1281, 990, 2, 30, 1},
      {600, 400, 0, 0, 1},  // nothing fits: the page still shows at its own size
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FittingScale(c.usable_width, c.usable_height, c.frame_width, c.frame_height), c.scale)
        << c.usable_width << "x" << c.usable_height;
  }
}

}  // namespace
