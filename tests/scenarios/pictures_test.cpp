// "BMP" lines through the headless reader: a picture goes to the page half and to
// the background half, top-left aligned; a name that does not load copies the
// previous picture again over the text.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "support/bmp_writer.h"
#include "support/novel.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A picture whose every pixel tells where it lies and which picture it is.
Bitmap Pattern(int width, int height, std::uint32_t tag) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.set_pixel(x, y, (tag & 0xFF) << 16 | (x & 0xFF) << 8 | ((y * 3 + x / 256) & 0xFF));
    }
  }
  return picture;
}

// The page surface after the reader's first step, 640 x 960.
Bitmap FirstStep(const Novel& novel) {
  const std::string shot = novel.File("surface.png");
  RunNovel(novel, "surface " + shot + "\n");
  return ReadPng(shot);
}

// Both halves of the surface hold expected(x, y) at every pixel.
void ExpectBothHalves(const Bitmap& surface, const std::function<std::uint32_t(int, int)>& expected) {
  ASSERT_EQ(surface.width(), kWidth);
  ASSERT_EQ(surface.height(), 2 * kHeight);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      ASSERT_EQ(surface.pixel(x, y), expected(x, y)) << "page " << x << "," << y;
      ASSERT_EQ(surface.pixel(x, y + kHeight), expected(x, y)) << "background " << x << "," << y;
    }
  }
}

TEST(PictureScenario, PictureBecomesPageAndBackground) {
  Novel novel;
  const Bitmap a = Pattern(kWidth, kHeight, 1);
  novel.WriteBytes("a.bmp", Bmp24(a));
  novel.Write("タイトル.txt", "BMP \"a.bmp\"\n>\n");
  ExpectBothHalves(FirstStep(novel), [&](int x, int y) { return a.pixel(x, y); });
}

TEST(PictureScenario, SmallPictureReplacesOnlyTheTopLeftQuarter) {
  Novel novel;
  const Bitmap a = Pattern(kWidth, kHeight, 1), b = Pattern(320, 240, 2);
  novel.WriteBytes("a.bmp", Bmp24(a));
  novel.WriteBytes("b.bmp", Bmp24(b));
  novel.Write("タイトル.txt", "BMP \"a.bmp\"\nBMP \"b.bmp\"\n>\n");
  ExpectBothHalves(FirstStep(novel), [&](int x, int y) {
    return x < 320 && y < 240 ? b.pixel(x, y) : a.pixel(x, y);
  });
}

TEST(PictureScenario, LargePictureGivesOnlyItsTopLeftPart) {
  Novel novel;
  const Bitmap big = Pattern(800, 600, 3);
  novel.WriteBytes("big.bmp", Bmp24(big));
  novel.Write("タイトル.txt", "BMP \"big.bmp\"\n>\n");
  ExpectBothHalves(FirstStep(novel), [&](int x, int y) { return big.pixel(x, y); });
}

TEST(PictureScenario, MissingFileCopiesThePreviousPictureOverTheText) {
  Novel novel;
  const Bitmap a = Pattern(kWidth, kHeight, 1);
  novel.WriteBytes("a.bmp", Bmp24(a));
  novel.Write("タイトル.txt", "BMP \"a.bmp\"\n岬の灯台に夜が来る。\nBMP \"missing.bmp\"\n>\n");
  const std::string with_text = novel.File("text.png"), after = novel.File("after.png");
  RunNovel(novel, "surface " + with_text + "\nwait 100\nclick 1 1\nsurface " + after + "\n");
  const Bitmap text = ReadPng(with_text);
  int text_pixels = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) text_pixels += text.pixel(x, y) != a.pixel(x, y);
  }
  EXPECT_GT(text_pixels, 50);
  ExpectBothHalves(ReadPng(after), [&](int x, int y) { return a.pixel(x, y); });
}

TEST(PictureScenario, NothingLoadedYetLeavesThePageBlack) {
  Novel novel;
  novel.Write("タイトル.txt", "BMP \"missing.bmp\"\n>\n");
  ExpectBothHalves(FirstStep(novel), [](int, int) { return 0u; });
}

TEST(PictureScenario, NameOfNineteenBytesLoadsAndTwentyLoadsNothing) {
  const std::string nineteen = "abcdefghijklmno.bmp";
  const std::string twenty = "abcdefghijklmnop.bmp";
  ASSERT_EQ(nineteen.size(), 19u);
  ASSERT_EQ(twenty.size(), 20u);
  const Bitmap a = Pattern(kWidth, kHeight, 1), b = Pattern(kWidth, kHeight, 2);
  for (const std::string& name : {nineteen, twenty}) {
    Novel novel;
    novel.WriteBytes("a.bmp", Bmp24(a));
    novel.WriteBytes(name, Bmp24(b));
    novel.WriteBytes(name.substr(0, 19), Bmp24(b));  // not a cut of the long name either
    novel.Write("タイトル.txt", "BMP \"a.bmp\"\nBMP \"" + name + "\"\n>\n");
    const Bitmap& expected = name.size() == 19 ? b : a;
    ExpectBothHalves(FirstStep(novel), [&](int x, int y) { return expected.pixel(x, y); });
  }
}

TEST(PictureScenario, LineWithOneQuoteLoadsNothing) {
  Novel novel;
  const Bitmap a = Pattern(kWidth, kHeight, 1), b = Pattern(kWidth, kHeight, 2);
  novel.WriteBytes("a.bmp", Bmp24(a));
  novel.WriteBytes("b.bmp", Bmp24(b));
  novel.Write("タイトル.txt", "BMP \"a.bmp\"\nBMP \"b.bmp\n>\n");
  ExpectBothHalves(FirstStep(novel), [&](int x, int y) { return a.pixel(x, y); });
}

TEST(PictureScenario, BackslashNamesAFolderAndTextAfterTheNameIsIgnored) {
  Novel novel;
  const Bitmap a = Pattern(kWidth, kHeight, 4);
  novel.WriteBytes("pic/a.bmp", Bmp24(a));
  novel.Write("タイトル.txt", "BMP \"pic\\a.bmp\" 夜の岬\n>\n");
  ExpectBothHalves(FirstStep(novel), [&](int x, int y) { return a.pixel(x, y); });
}

// 表 is 0x95 0x5C: its second byte is no folder separator.
TEST(PictureScenario, ShiftJisNameFindsItsFile) {
  Novel novel;
  const Bitmap a = Pattern(kWidth, kHeight, 5);
  novel.WriteBytes("表紙.bmp", Bmp24(a));
  novel.Write("タイトル.txt", "BMP \"表紙.bmp\"\n>\n");
  ExpectBothHalves(FirstStep(novel), [&](int x, int y) { return a.pixel(x, y); });
}

TEST(PictureScenario, PageClearBringsThePictureBack) {
  Novel novel;
  const Bitmap a = Pattern(kWidth, kHeight, 1);
  novel.WriteBytes("a.bmp", Bmp24(a));
  novel.Write("タイトル.txt", "BMP \"a.bmp\"\n岬の灯台に夜が来る。\nC\n>\n");
  const std::string after = novel.File("after.png");
  RunNovel(novel, "wait 100\nclick 1 1\nsurface " + after + "\n");
  const Bitmap surface = ReadPng(after);
  // Rows 0-459 return to the background; the bottom strip is the picture already.
  for (int y = 0; y < 440; ++y) {
    for (int x = 0; x < kWidth; ++x) ASSERT_EQ(surface.pixel(x, y), a.pixel(x, y)) << x << "," << y;
  }
}

}  // namespace
