// Fonts and text on surfaces: cell metrics, emboldening, and where the pixels of
// TextOutA and DrawTextA land (rows, columns, clipping, untouched backgrounds).
#include "platform/gdi/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/shift_jis.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;

// The box around the pixels that differ between two bitmaps of one size.
struct Ink {
  int left = INT_MAX;
  int top = INT_MAX;
  int right = INT_MIN;  // exclusive
  int bottom = INT_MIN;
  int count = 0;
};

Ink Difference(const Bitmap& before, const Bitmap& after) {
  Ink ink;
  for (int y = 0; y < after.height(); ++y) {
    for (int x = 0; x < after.width(); ++x) {
      if (before.pixel(x, y) == after.pixel(x, y)) continue;
      ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
             std::max(ink.bottom, y + 1), ink.count + 1};
    }
  }
  return ink;
}

void FillPattern(Bitmap& bitmap) {
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      bitmap.set_pixel(x, y, ((x ^ y) & 1) != 0 ? 0x123456 : 0x654321);
    }
  }
}

std::vector<std::string> LinesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

class FontTest : public ::testing::Test {
 protected:
  ShiftJis shift_jis;
  FontEngine engine{shift_jis};
};

TEST_F(FontTest, FindsAJapaneseFaceAndSizesCellsAsTheOldMincho) {
  ASSERT_FALSE(engine.face_path().empty());
  for (int height : {24, 42, 12}) {
    const std::unique_ptr<Font> font = engine.Create(height, FW_HEAVY);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->cell_height(), height);
    EXPECT_GT(font->ascent(), height / 2);
    EXPECT_LT(font->ascent(), height);
    // The cell is the em: a full-width character is as wide as the cell is high,
    // and one pixel more in the heavy weight.
    EXPECT_EQ(font->GlyphFor(U'あ').advance, height + 1);
  }
  const char* mincho_sjis = "\x82\x6c\x82\x72 \x96\xbe\x92\xa9";
  const auto by_default = CreateFontA(engine, 0, 0, 0, 0, FW_HEAVY, 0, 0, 0, SHIFTJIS_CHARSET, 0,
                                      0, 0, FIXED_PITCH | FF_ROMAN, mincho_sjis);
  ASSERT_NE(by_default, nullptr);
  EXPECT_EQ(by_default->cell_height(), 16);
  // A negative height asks for the em, which for the Mincho is the cell.
  const auto by_em = CreateFontA(engine, -24, 0, 0, 0, 400, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0,
                                 FIXED_PITCH | FF_ROMAN, "");
  ASSERT_NE(by_em, nullptr);
  EXPECT_EQ(by_em->cell_height(), 24);
  EXPECT_EQ(by_em->GlyphFor(U'あ').advance, 24);
}

TEST_F(FontTest, GlyphsStayInsideTheirCellRows) {
  const std::unique_ptr<Font> font = engine.Create(24, FW_HEAVY);
  ASSERT_NE(font, nullptr);
  for (char32_t code : {U'あ', U'表', U'g', U'「', U'ｱ'}) {
    const Glyph& glyph = font->GlyphFor(code);
    ASSERT_EQ(glyph.mask.size(), static_cast<std::size_t>(glyph.width) * glyph.height);
    int inked = 0;
    for (int y = 0; y < glyph.height; ++y) {
      for (int x = 0; x < glyph.width; ++x) {
        const std::uint8_t value = glyph.mask[static_cast<std::size_t>(y) * glyph.width + x];
        EXPECT_TRUE(value == 0 || value == 255);
        if (value == 0) continue;
        ++inked;
        EXPECT_GE(glyph.top + y, 0) << static_cast<std::uint32_t>(code);
        EXPECT_LT(glyph.top + y, font->cell_height()) << static_cast<std::uint32_t>(code);
      }
    }
    EXPECT_GT(inked, 0) << static_cast<std::uint32_t>(code);
  }
}

TEST_F(FontTest, HeavyWeightEmboldensByOnePixel) {
  const std::unique_ptr<Font> regular = engine.Create(24, 400);
  const std::unique_ptr<Font> heavy = engine.Create(24, FW_HEAVY);
  ASSERT_NE(regular, nullptr);
  ASSERT_NE(heavy, nullptr);
  for (char32_t code : {U'あ', U'A', U' '}) {
    const Glyph& thin = regular->GlyphFor(code);
    const Glyph& bold = heavy->GlyphFor(code);
    EXPECT_EQ(bold.advance, thin.advance + 1);
    if (thin.width == 0) continue;
    ASSERT_EQ(bold.width, thin.width + 1);
    ASSERT_EQ(bold.height, thin.height);
    ASSERT_EQ(bold.left, thin.left);
    // Every regular pixel and its right neighbour are set in the heavy glyph.
    for (int y = 0; y < thin.height; ++y) {
      for (int x = 0; x < thin.width; ++x) {
        if (thin.mask[static_cast<std::size_t>(y) * thin.width + x] == 0) continue;
        EXPECT_EQ(bold.mask[static_cast<std::size_t>(y) * bold.width + x], 255);
        EXPECT_EQ(bold.mask[static_cast<std::size_t>(y) * bold.width + x + 1], 255);
      }
    }
  }
}

TEST_F(FontTest, MissingCharactersGetAStandInGlyph) {
  const std::unique_ptr<Font> font = engine.Create(24, FW_HEAVY);
  ASSERT_NE(font, nullptr);
  const int full_width = font->GlyphFor(U'あ').advance;
  for (char32_t code : {char32_t{0xFFFD}, char32_t{0x10FFFD}, char32_t{0x110000}}) {
    EXPECT_GE(font->GlyphFor(code).advance, full_width - 2) << static_cast<std::uint32_t>(code);
  }
}

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(font, nullptr);
    surface.bitmap = &bitmap;
    surface.font = font.get();
    surface.text_color = RGB(255, 255, 255);
    surface.background_mode = TRANSPARENT;
  }

  std::string Sjis(const char* text_utf8) { return shift_jis.FromUtf8(text_utf8).value(); }
  int Draw(const std::string& text_sjis, RECT rect, UINT format) {
    return DrawTextA(surface, text_sjis.data(), static_cast<int>(text_sjis.size()), &rect, format);
  }
  void TextOut(int x, int y, const std::string& text_sjis) {
    TextOutA(surface, x, y, text_sjis.data(), static_cast<int>(text_sjis.size()));
  }
  int Advance(char32_t code) { return font->GlyphFor(code).advance; }

  // Draws `text` with DrawTextA, and `rows` one by one with TextOutA on a second
  // bitmap; the two must come out the same.
  void ExpectRows(const std::string& text, RECT rect, UINT format,
                  const std::vector<std::string>& rows) {
    const int height = Draw(text, rect, format);
    EXPECT_EQ(height, static_cast<int>(rows.size()) * font->cell_height());
    Bitmap expected(bitmap.width(), bitmap.height());
    Surface reference;
    reference.bitmap = &expected;
    reference.font = font.get();
    reference.text_color = surface.text_color;
    reference.background_mode = TRANSPARENT;
    for (std::size_t k = 0; k < rows.size(); ++k) {
      TextOutA(reference, rect.left, rect.top + static_cast<int>(k) * font->cell_height(),
               rows[k].data(), static_cast<int>(rows[k].size()));
    }
    const Ink ink = Difference(expected, bitmap);
    EXPECT_EQ(ink.count, 0) << "first difference in rows " << ink.top << "-" << ink.bottom;
  }

  ShiftJis shift_jis;
  FontEngine engine{shift_jis};
  std::unique_ptr<Font> font = engine.Create(24, FW_HEAVY);
  Bitmap bitmap{640, 480};
  Surface surface;
};

TEST_F(TextTest, TransparentTextPaintsOnlyItsStrokes) {
  FillPattern(bitmap);
  const Bitmap before = bitmap;
  TextOut(10, 10, Sjis("あ"));
  const Ink ink = Difference(before, bitmap);
  EXPECT_GT(ink.count, 20);
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 10 + Advance(U'あ'));
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.bottom, 10 + 24);
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      const std::uint32_t pixel = bitmap.pixel(x, y);
      ASSERT_TRUE(pixel == before.pixel(x, y) || pixel == kWhite) << x << "," << y;
    }
  }
}

TEST_F(TextTest, GreyLevelsDrawnInTurnBrightenTheSamePixels) {
  const std::string text = Sjis("羅生門の下");
  const Bitmap black = bitmap;
  surface.text_color = RGB(1, 1, 1);
  TextOut(20, 30, text);
  const Bitmap first = bitmap;
  for (int grey : {11, 134, 241, 255}) {
    surface.text_color = RGB(grey, grey, grey);
    TextOut(20, 30, text);
  }
  int inked = 0;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      const bool was_drawn = first.pixel(x, y) != black.pixel(x, y);
      ASSERT_EQ(was_drawn ? 0x010101u : 0u, first.pixel(x, y));
      ASSERT_EQ(was_drawn ? kWhite : 0u, bitmap.pixel(x, y));
      inked += was_drawn;
    }
  }
  EXPECT_GT(inked, 100);
}

TEST_F(TextTest, OpaqueModeFillsEachCell) {
  surface.background_mode = OPAQUE;
  surface.background_color = RGB(0, 0, 255);
  const std::string text = Sjis("表a");
  TextOut(10, 10, text);
  const int width = Advance(U'表') + Advance(U'a');
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      const bool in_cells = x >= 10 && x < 10 + width && y >= 10 && y < 34;
      const std::uint32_t pixel = bitmap.pixel(x, y);
      if (in_cells) {
        ASSERT_TRUE(pixel == kWhite || pixel == 0x0000FF) << x << "," << y;
      } else {
        ASSERT_EQ(pixel, 0u) << x << "," << y;
      }
    }
  }
}

TEST_F(TextTest, TextOutClipsToTheBitmapAndReportsWhatChanged) {
  std::vector<RECT> changes;
  surface.on_change = [&changes](const RECT& changed) { changes.push_back(changed); };
  const Bitmap before = bitmap;
  const std::string text = Sjis("あいうえおかきくけこ");
  for (auto [x, y] : {std::pair{-7, -9}, {630, 470}, {600, -12}, {INT_MIN, INT_MAX},
                      {INT_MAX, INT_MIN}, {INT_MAX - 5, 10}, {-2000000000, 10}}) {
    TextOut(x, y, text);
  }
  const Ink ink = Difference(before, bitmap);
  ASSERT_GT(ink.count, 0);
  ASSERT_EQ(changes.size(), 3u);  // only the three calls that touch the bitmap
  RECT all{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const RECT& r : changes) {
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, 640);
    EXPECT_LE(r.bottom, 480);
    all = {std::min(all.left, r.left), std::min(all.top, r.top), std::max(all.right, r.right),
           std::max(all.bottom, r.bottom)};
  }
  EXPECT_LE(all.left, ink.left);
  EXPECT_LE(all.top, ink.top);
  EXPECT_GE(all.right, ink.right);
  EXPECT_GE(all.bottom, ink.bottom);
}

TEST_F(TextTest, NoFontDrawsNothing) {
  surface.font = nullptr;
  const Bitmap before = bitmap;
  const std::string text = Sjis("あ");
  EXPECT_TRUE(TextOutA(surface, 0, 0, text.data(), static_cast<int>(text.size())));
  EXPECT_EQ(Draw(text, {0, 0, 640, 480}, DT_WORDBREAK), 0);
  EXPECT_EQ(Difference(before, bitmap).count, 0);
}

TEST_F(TextTest, WordBreakKeepsAParagraphInsideTheTextArea) {
  // The first long paragraph, cut to a script line's 254 bytes and its line feed.
  std::string paragraph;
  const std::string path = std::string(YOMU_TESTDATA_DIR) + "/text/akutagawa-rashomon.sjis.txt";
  for (const std::string& line : LinesOf(path)) {
    if (line.size() <= 255) continue;
    std::size_t end = 0;
    while (end < line.size()) {
      const std::size_t next = end + (IsShiftJisLeadByte(line[end]) ? 2 : 1);
      if (next > 254) break;
      end = next;
    }
    paragraph = line.substr(0, end) + "\n";
    break;
  }
  ASSERT_GT(paragraph.size(), 250u);

  const Bitmap before = bitmap;
  const int height = Draw(paragraph, {5, 10, 635, 480}, DT_WORDBREAK);
  const Ink ink = Difference(before, bitmap);
  EXPECT_GE(ink.left, 5);
  EXPECT_LE(ink.right, 635);
  EXPECT_GE(ink.top, 10);
  EXPECT_GT(ink.bottom - 10, 3 * 24);  // four rows or more
  EXPECT_EQ(height % 24, 0);
  EXPECT_LE(ink.bottom, 10 + height);
  EXPECT_GT(ink.bottom, 10 + height - 24);  // the last row holds text: the LF adds none
}

TEST_F(TextTest, CenterPlacesALabelMidway) {
  for (int height : {24, 12}) {
    const std::unique_ptr<Font> sized = engine.Create(height, FW_HEAVY);
    surface.font = sized.get();
    Bitmap blank(640, 480);
    bitmap = blank;
    const std::string label = Sjis("羅生門   1 ページ");
    EXPECT_EQ(Draw(label, {0, 60, 400, 80}, DT_CENTER), height);
    const Ink ink = Difference(blank, bitmap);
    ASSERT_GT(ink.count, 0);
    EXPECT_NEAR(ink.left + ink.right, 400, 4) << height;
    EXPECT_GE(ink.top, 60);
    EXPECT_LE(ink.bottom, 80);  // clipped to the rectangle
  }
}

TEST_F(TextTest, RowsHoldWholeDoubleByteCharacters) {
  // 表 ends in the byte 0x5C: a break inside it would show as a backslash.
  std::string text;
  for (int i = 0; i < 40; ++i) text += "\x95\x5C";
  const int width = 3 * Advance(U'表') + Advance(U'表') / 2;
  const std::vector<std::string> rows(40 / 3, "\x95\x5C\x95\x5C\x95\x5C");
  std::vector<std::string> expected = rows;
  expected.push_back("\x95\x5C");
  ExpectRows(text, {7, 3, 7 + width, 480}, DT_WORDBREAK, expected);
}

TEST_F(TextTest, SingleByteWordsBreakAtSpacesOrInsideWhenTooLong) {
  const int width = 7 * Advance(U'a');
  ExpectRows("aaa bbb ccc ddddddddddddddddd", {5, 10, 5 + width, 480}, DT_WORDBREAK,
             {"aaa bbb", "ccc", "ddddddd", "ddddddd", "ddd"});
}

TEST_F(TextTest, DoubleByteCharactersBreakOnEitherSide) {
  // "abcd" does not fit behind "ああ" and moves down whole, as a word would.
  const int width = 2 * Advance(U'あ') + 3 * Advance(U'a');
  ExpectRows(Sjis("ああabcdあいう"), {5, 10, 5 + width, 480}, DT_WORDBREAK,
             {Sjis("ああ"), Sjis("abcdあ"), Sjis("いう")});
}

TEST_F(TextTest, LineBreaksEndRowsAndDrawNothing) {
  ExpectRows(Sjis("あ\r\nい\rう\nえ\n"), {5, 10, 635, 480}, 0,
             {Sjis("あ"), Sjis("い"), Sjis("う"), Sjis("え")});
  EXPECT_EQ(Draw("\n", {5, 10, 635, 480}, DT_WORDBREAK), 24);
  EXPECT_EQ(Draw("a\n\nb", {5, 200, 635, 480}, DT_WORDBREAK), 3 * 24);
}

TEST_F(TextTest, WithoutWordBreakTheTextIsOneRowClippedAtTheRight) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += Sjis("あ");
  const Bitmap before = bitmap;
  EXPECT_EQ(Draw(text, {5, 10, 300, 480}, 0), 24);
  const Ink ink = Difference(before, bitmap);
  EXPECT_GE(ink.left, 5);
  EXPECT_EQ(ink.right, 300);
  EXPECT_GE(ink.top, 10);
  EXPECT_LE(ink.bottom, 34);
}

TEST_F(TextTest, ExtremeRectanglesDrawNothingAndEnd) {
  std::string text;
  for (int i = 0; i < 120; ++i) text += Sjis("あ a");
  const Bitmap before = bitmap;
  EXPECT_EQ(Draw(text, {5, INT_MIN + 5, 635, 480}, DT_WORDBREAK) % 24, 0);
  EXPECT_EQ(Draw(text, {5, INT_MAX - 5, 635, INT_MAX}, DT_WORDBREAK), 24);
  EXPECT_EQ(Draw(text, {5, INT_MAX - 5, 635, 480}, DT_WORDBREAK), 0);
  // Rows start while above the bottom: at INT_MIN and INT_MIN + 24.
  EXPECT_EQ(Draw(text, {INT_MIN, INT_MIN, INT_MIN + 10, INT_MIN + 30}, DT_WORDBREAK | DT_CENTER),
            48);
  EXPECT_EQ(Draw(text, {INT_MAX - 3, 0, INT_MIN, 480}, DT_WORDBREAK), 480);  // width < 0
  EXPECT_EQ(Difference(before, bitmap).count, 0);
  // A rectangle wider than any row centres the text around x = 0.
  EXPECT_EQ(Draw(Sjis("あい"), {INT_MIN, 0, INT_MAX, 480}, DT_CENTER), 24);
  const Ink ink = Difference(before, bitmap);
  EXPECT_LT(ink.left, 5);
  EXPECT_LT(ink.right, 30);
}

TEST_F(TextTest, MalformedBytesDrawSafelyInsideTheRectangle) {
  // Exactly sized buffers, so that a read past the length is caught.
  std::unique_ptr<char[]> every_byte(new char[256]);
  for (int i = 0; i < 256; ++i) {
    every_byte[static_cast<std::size_t>(i)] = static_cast<char>(255 - i);
  }
  RECT rect{100, 50, 400, 300};
  DrawTextA(surface, every_byte.get(), 256, &rect, DT_WORDBREAK);
  DrawTextA(surface, every_byte.get(), 256, &rect, DT_CENTER);
  const Ink ink = Difference(Bitmap(640, 480), bitmap);
  ASSERT_GT(ink.count, 0);
  EXPECT_GE(ink.left, 100);
  EXPECT_LE(ink.right, 400);
  EXPECT_GE(ink.top, 50);
  EXPECT_LE(ink.bottom, 300);

  // A lead byte at the very end is a blank of half width; a NUL draws nothing.
  std::unique_ptr<char[]> cut(new char[4]{'a', '\0', 'b', '\x82'});
  bitmap = Bitmap(640, 480);
  EXPECT_TRUE(TextOutA(surface, 0, 0, cut.get(), 4));
  EXPECT_EQ(Draw(std::string("a\0b\x82", 4), {0, 100, 640, 480}, DT_WORDBREAK), 24);
  Bitmap expected(640, 480);
  Surface reference;
  reference.bitmap = &expected;
  reference.font = font.get();
  reference.text_color = surface.text_color;
  reference.background_mode = TRANSPARENT;
  TextOutA(reference, 0, 0, "ab", 2);
  TextOutA(reference, 0, 100, "ab", 2);
  EXPECT_EQ(Difference(expected, bitmap).count, 0);

  surface.bitmap = nullptr;
  EXPECT_EQ(DrawTextA(surface, every_byte.get(), 256, &rect, DT_WORDBREAK) % 24, 0);
  EXPECT_TRUE(TextOutA(surface, 0, 0, every_byte.get(), 256));
}

}  // namespace
