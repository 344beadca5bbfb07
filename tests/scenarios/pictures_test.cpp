// "BMP" lines through the headless reader: a picture goes top-left to the page half and
// the background half; a name that does not load copies the previous picture again.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "support/bmp_writer.h"
#include "support/novel.h"

namespace {

constexpr int WIDTH = 640;
constexpr int HEIGHT = 480;

// Every pixel tells where it lies and which picture it is.
Bitmap Pattern(int width, int height, std::uint32_t tag) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.set_pixel(x, y, tag << 16 | (x & 0xFF) << 8 | ((y * 3 + x / 256) & 0xFF));
  }
  return picture;
}

// Both halves of the 640x960 surface hold expected(x, y) in rows 0 to rows-1.
void ExpectBothHalves(const Bitmap& surface, const std::function<std::uint32_t(int, int)>& expected,
                      int rows = HEIGHT) {
  ASSERT_EQ(surface.width(), WIDTH);
  ASSERT_EQ(surface.height(), 2 * HEIGHT);
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < WIDTH; ++x) {
      ASSERT_EQ(surface.pixel(x, y), expected(x, y)) << "page " << x << "," << y;
      ASSERT_EQ(surface.pixel(x, y + HEIGHT), expected(x, y)) << "background " << x << "," << y;
    }
  }
}

TEST(PictureScenario, PicturesAndNamesOnTheFirstPage) {
  const Bitmap a = Pattern(WIDTH, HEIGHT, 1), b = Pattern(320, 240, 2), big = Pattern(800, 600, 3);
  const auto only_a = [&](int x, int y) { return a.pixel(x, y); };
  const auto b_over_a = [&](int x, int y) { return x < 320 && y < 240 ? b.pixel(x, y) : a.pixel(x, y); };
  const struct {
    std::string script;
    std::function<std::uint32_t(int, int)> expected;
  } cases[] = {
      {"BMP \"a.bmp\"\nBMP \"b.bmp\"\n", b_over_a},
      {"BMP \"big.bmp\"\n", [&](int x, int y) { return big.pixel(x, y); }},
      {"BMP \"missing.bmp\"\n", [](int, int) { return 0u; }},
      {"BMP \"a.bmp\"\nBMP \"abcdefghijklmno.bmp\"\n", b_over_a},   // 19 bytes
      {"BMP \"a.bmp\"\nBMP \"abcdefghijklmnop.bmp\"\n", only_a},    // 20 bytes, nor its first 19
      {"BMP \"a.bmp\"\nBMP \"b.bmp\n", only_a},                       // one quote
      {"BMP \"a.bmp\"\nBMP \"pic\\b.bmp\" 夜の岬\n", b_over_a},          // a folder; text after the name
      {"BMP \"a.bmp\"\nBMP \"表紙.bmp\"\n", b_over_a}};                  // 表 is 0x95 0x5C
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    Novel novel;
    novel.WriteBytes("a.bmp", Bmp24(a));
    novel.WriteBytes("big.bmp", Bmp24(big));
    for (const char* name : {"b.bmp", "abcdefghijklmno.bmp", "abcdefghijklmnop.bmp", "abcdefghijklmnop.bm",
                             "pic/b.bmp", "表紙.bmp"}) {
      novel.WriteBytes(name, Bmp24(b));
    }
    novel.Write("タイトル.txt", c.script + ">\n");
    const std::string shot = novel.File("surface.png");
    RunNovel(novel, "surface " + shot + "\n");
    ExpectBothHalves(ReadPng(shot), c.expected);
  }
}

TEST(PictureScenario, MissingFileCopiesThePreviousPictureOverTheText) {
  Novel novel;
  const Bitmap a = Pattern(WIDTH, HEIGHT, 1);
  novel.WriteBytes("a.bmp", Bmp24(a));
  novel.Write("タイトル.txt", "BMP \"a.bmp\"\n岬の灯台に夜が来る。\nBMP \"missing.bmp\"\n>\n");
  const std::string with_text = novel.File("text.png"), after = novel.File("after.png");
  RunNovel(novel, "surface " + with_text + "\nwait 100\nclick 1 1\nsurface " + after + "\n");
  const Bitmap text = ReadPng(with_text);
  int text_pixels = 0;
  for (int y = 0; y < HEIGHT; ++y) {
    for (int x = 0; x < WIDTH; ++x) text_pixels += text.pixel(x, y) != a.pixel(x, y);
  }
  EXPECT_GT(text_pixels, 50);
  ExpectBothHalves(ReadPng(after), [&](int x, int y) { return a.pixel(x, y); });
}

TEST(PictureScenario, PageClearBringsThePictureBackAboveTheBottomStrip) {
  Novel novel;
  const Bitmap a = Pattern(WIDTH, HEIGHT, 1);
  novel.WriteBytes("a.bmp", Bmp24(a));
  novel.Write("タイトル.txt", "BMP \"a.bmp\"\n岬の灯台に夜が来る。\nC\n>\n");
  const std::string after = novel.File("after.png");
  RunNovel(novel, "wait 100\nclick 1 1\nsurface " + after + "\n");
  ExpectBothHalves(ReadPng(after), [&](int x, int y) { return a.pixel(x, y); }, 440);
}

}  // namespace
