// Copies and fills: only pixels whose source and destination both lie inside move.
#include <gtest/gtest.h>

#include "platform/gdi/surface.h"

namespace {

struct TestSurface {
  TestSurface(int width, int height) : bitmap(width, height) { surface.bitmap = &bitmap; }
  Bitmap bitmap;
  Surface surface;
};

// Each pixel holds its own position, so a moved pixel tells where it came from.
std::uint32_t Position(int x, int y) { return static_cast<std::uint32_t>(y << 12 | x); }

void FillWithPositions(Bitmap& bitmap) {
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) bitmap.set_pixel(x, y, Position(x, y));
  }
}

TEST(CopyRule, SourcePastTheLastRowMovesOnlyTheRowsInside) {
  TestSurface page(640, 960), status(400, 100);
  FillWithPositions(page.bitmap);
  std::fill(status.bitmap.row(0), status.bitmap.row(100), 0xABCDEFu);
  // 400 x 50 from (220, 940): only rows 940 to 959 exist.
  BitBlt(status.surface, 0, 60, 400, 50, page.surface, 220, 940, SRCCOPY);
  EXPECT_EQ(status.bitmap.pixel(0, 60), static_cast<std::uint32_t>(940 << 12 | 220));
  EXPECT_EQ(status.bitmap.pixel(399, 79), static_cast<std::uint32_t>(959 << 12 | 619));
  EXPECT_EQ(status.bitmap.pixel(0, 80), 0xABCDEFu);
  EXPECT_EQ(status.bitmap.pixel(0, 99), 0xABCDEFu);
  EXPECT_EQ(status.bitmap.pixel(0, 59), 0xABCDEFu);
}

TEST(CopyRule, DestinationPastTheEdgeIsCut) {
  TestSurface page(640, 960), status(400, 100);
  FillWithPositions(status.bitmap);
  // The label strip from x = 350, 300 wide: columns 640 to 649 fall outside.
  BitBlt(page.surface, 350, 440, 300, 20, status.surface, 0, 60, SRCCOPY);
  EXPECT_EQ(page.bitmap.pixel(350, 440), static_cast<std::uint32_t>(60 << 12 | 0));
  EXPECT_EQ(page.bitmap.pixel(639, 459), static_cast<std::uint32_t>(79 << 12 | 289));
  EXPECT_EQ(page.bitmap.pixel(349, 440), 0u);
  EXPECT_EQ(page.bitmap.pixel(350, 460), 0u);
}

TEST(CopyRule, NegativeAndHugeOffsetsMoveNothingOutside) {
  TestSurface a(64, 64), b(64, 64);
  FillWithPositions(a.bitmap);
  BitBlt(b.surface, -10, -10, 20, 20, a.surface, 0, 0, SRCCOPY);
  EXPECT_EQ(b.bitmap.pixel(0, 0), static_cast<std::uint32_t>(10 << 12 | 10));
  EXPECT_EQ(b.bitmap.pixel(10, 10), 0u);
  BitBlt(b.surface, 0, 0, 64, 64, a.surface, INT32_MAX - 5, INT32_MIN + 5, SRCCOPY);
  BitBlt(b.surface, INT32_MAX - 5, 0, 64, 64, a.surface, 0, 0, SRCCOPY);
  EXPECT_EQ(b.bitmap.pixel(20, 20), 0u);
}

TEST(CopyRule, BackgroundHalfOverThePageHalf) {
  TestSurface page(640, 960);
  FillWithPositions(page.bitmap);
  BitBlt(page.surface, 0, 0, 640, 460, page.surface, 0, 480, SRCCOPY);
  EXPECT_EQ(page.bitmap.pixel(5, 0), static_cast<std::uint32_t>(480 << 12 | 5));
  EXPECT_EQ(page.bitmap.pixel(639, 459), static_cast<std::uint32_t>(939 << 12 | 639));
  EXPECT_EQ(page.bitmap.pixel(5, 460), Position(5, 460));  // the bottom strip stays
}

TEST(PatBlt, FillsWithTheBrushInsideTheSurface) {
  TestSurface page(64, 64);
  const Brush red{RGB(255, 0, 0)};
  SelectObject(page.surface, &red);
  PatBlt(page.surface, 60, -4, 100, 8, PATCOPY);
  EXPECT_EQ(page.bitmap.pixel(63, 0), 0xFF0000u);
  EXPECT_EQ(page.bitmap.pixel(63, 3), 0xFF0000u);
  EXPECT_EQ(page.bitmap.pixel(63, 4), 0u);
  EXPECT_EQ(page.bitmap.pixel(59, 0), 0u);
}

}  // namespace
