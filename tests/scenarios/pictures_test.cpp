// "BMP" lines through the headless reader: a picture goes top-left to the page half and
// the background half; a name that does not load copies the previous picture again.
#include <gtest/gtest.h>

#include <functional>

#include "support/bmp_writer.h"
#include "support/novel.h"

namespace {

using Expected = std::function<std::uint32_t(int, int)>;

// Every pixel tells where it lies and which picture it is.
Bitmap Pattern(int width, int height, std::uint32_t tag) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.set_pixel(x, y, tag << 16 | (x & 0xFF) << 8 | ((y * 3 + x / 256) & 0xFF));
    }
  }
  return picture;
}

const Bitmap A = Pattern(640, 480, 1), B = Pattern(320, 240, 2), BIG = Pattern(800, 600, 3);

// The page surface after the events over a novel with the pictures above.
Bitmap SurfaceAfter(const std::string& script, const std::string& events) {
  Novel novel;
  novel.WriteBytes("a.bmp", Bmp24(A));
  novel.WriteBytes("big.bmp", Bmp24(BIG));
  for (const char* name : {"b.bmp", "abcdefghijklmno.bmp", "abcdefghijklmnop.bmp",
                           "abcdefghijklmnop.bm", "pic/b.bmp", "表紙.bmp"}) {
    novel.WriteBytes(name, Bmp24(B));
  }
  novel.Write("タイトル.txt", script);
  RunNovel(novel, events + "surface " + novel.File("surface.png") + "\n");
  return ReadPng(novel.File("surface.png"));
}

// Both halves of the 640 x 960 surface hold expected(x, y) in rows 0 to rows - 1.
void ExpectBothHalves(const Bitmap& surface, const Expected& expected, int rows = 480) {
  ASSERT_EQ(surface.width(), 640);
  ASSERT_EQ(surface.height(), 960);
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < 640; ++x) {
      ASSERT_EQ(surface.pixel(x, y), expected(x, y)) << "page " << x << "," << y;
      ASSERT_EQ(surface.pixel(x, y + 480), expected(x, y)) << "background " << x << "," << y;
    }
  }
}

const Expected ONLY_A = [](int x, int y) { return A.pixel(x, y); };

TEST(PictureScenario, PicturesAndNamesOnTheFirstPage) {
  const Expected b_over_a = [](int x, int y) {
    return x < 320 && y < 240 ? B.pixel(x, y) : A.pixel(x, y);
  };
  const struct {
    std::string script;
    Expected expected;
  } cases[] = {
      {"BMP \"a.bmp\"\nBMP \"b.bmp\"\n", b_over_a},
      {"BMP \"big.bmp\"\n", [](int x, int y) { return BIG.pixel(x, y); }},
      {"BMP \"missing.bmp\"\n", [](int, int) { return 0u; }},
      {"BMP \"a.bmp\"\nBMP \"abcdefghijklmno.bmp\"\n", b_over_a},  // 19 bytes
      {"BMP \"a.bmp\"\nBMP \"abcdefghijklmnop.bmp\"\n", ONLY_A},   // 20 bytes, nor its first 19
      {"BMP \"a.bmp\"\nBMP \"b.bmp\n", ONLY_A},                    // one quote
      {"BMP \"a.bmp\"\nBMP \"pic\\b.bmp\" 夜の岬\n", b_over_a},    // a folder; text after it
      {"BMP \"a.bmp\"\nBMP \"表紙.bmp\"\n", b_over_a},             // 表 is 0x95 0x5C
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    ExpectBothHalves(SurfaceAfter(c.script + ">\n", ""), c.expected);
  }
}

// Also after a hatch has drawn over the background half, and after a picture larger
// than the page.
TEST(PictureScenario, AMissingFileCopiesThePreviousPictureOverTheText) {
  const std::string text = "岬の灯台に夜が来る。\nBMP \"missing.bmp\"\n>\n";
  EXPECT_GT(CountPixels(SurfaceAfter("BMP \"a.bmp\"\n" + text, ""), {0, 0, 640, 440}, 0xFFFFFF),
            50);
  for (const char* before : {"BMP \"a.bmp\"\n", "BMP \"a.bmp\"\nBO\n"}) {
    ExpectBothHalves(SurfaceAfter(before + text, "wait 100\nclick 1 1\n"), ONLY_A);
  }
  ExpectBothHalves(SurfaceAfter("BMP \"big.bmp\"\n" + text, "wait 100\nclick 1 1\n"),
                   [](int x, int y) { return BIG.pixel(x, y); });
}

TEST(PictureScenario, APageClearBringsThePictureBackAboveTheBottomStrip) {
  const Bitmap after =
      SurfaceAfter("BMP \"a.bmp\"\n岬の灯台に夜が来る。\nC\n>\n", "wait 100\nclick 1 1\n");
  ExpectBothHalves(after, ONLY_A, 440);
}

// H held shows the picture without its text, and a click meanwhile does nothing; let
// go, and the page is back as it was.
TEST(PictureScenario, HHeldShowsThePictureAloneAndLetGoThePageAsItWas) {
  Novel novel;
  novel.WriteBytes("a.bmp", Bmp24(A));
  novel.Write("タイトル.txt", "BMP \"a.bmp\"\n岬の灯台に夜が来る。\n二\n>\n");
  const auto shot = [&novel](int k) {
    return "screenshot " + novel.File(std::to_string(k)) + "\n";
  };
  const ReaderRun run = RunNovel(novel, "wait 100\nstate\n" + shot(0) + "keydown H\n" + shot(1) +
                                            "click 1 1\nwait 100\nkeyup H\n" + shot(2) + "state\n");
  const Bitmap page = ReadPng(novel.File("0")), alone = ReadPng(novel.File("1"));
  EXPECT_GT(CountPixels(page, {0, 0, 640, 440}, 0xFFFFFF), 50);
  EXPECT_TRUE(std::equal(alone.row(0), alone.row(480), A.row(0)));
  EXPECT_TRUE(std::equal(page.row(0), page.row(480), ReadPng(novel.File("2")).row(0)));
  const std::vector<std::string> states = run.Records("state ");
  EXPECT_TRUE(std::equal(states.begin(), states.begin() + states.size() / 2,
                         states.begin() + states.size() / 2));
}

}  // namespace
