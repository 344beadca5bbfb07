// Fonts and text on surfaces: cell metrics, emboldening, and where the pixels of
// TextOutA and DrawTextA land (rows, columns, clipping, untouched backgrounds).
#include "platform/gdi/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/shift_jis.h"

namespace {

// The box around the pixels that differ between two bitmaps; right and bottom exclusive.
struct Ink {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN, count = 0;
};
std::ostream& operator<<(std::ostream& out, const Ink& ink) {
  return out << ink.count << " px in " << ink.left << "," << ink.top << "-" << ink.right << "," << ink.bottom;
}
bool Within(const Ink& ink, RECT r) {
  return ink.count > 0 && ink.left >= r.left && ink.top >= r.top && ink.right <= r.right &&
         ink.bottom <= r.bottom;
}

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

class TextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(font, nullptr);
    for (Surface* s : {&surface, &reference}) {
      s->font = font.get();
      s->text_color = RGB(255, 255, 255);
      s->background_mode = TRANSPARENT;
    }
    surface.bitmap = &bitmap;
    reference.bitmap = &expected;
  }

  std::string Sjis(const char* text_utf8) { return shift_jis.FromUtf8(text_utf8).value(); }
  int Draw(const std::string& text_sjis, RECT rect, UINT format) {
    return DrawTextA(surface, text_sjis.data(), static_cast<int>(text_sjis.size()), &rect, format);
  }
  void TextOut(int x, int y, const std::string& text_sjis) {
    TextOutA(surface, x, y, text_sjis.data(), static_cast<int>(text_sjis.size()));
  }
  int Advance(char32_t code) { return font->GlyphFor(code).advance; }

  // DrawTextA must paint what TextOutA paints for each of the rows in turn.
  void ExpectRows(const std::string& text, RECT rect, UINT format,
                  const std::vector<std::string>& rows) {
    bitmap = expected = Bitmap(640, 480);
    EXPECT_EQ(Draw(text, rect, format), static_cast<int>(rows.size()) * 24);
    for (std::size_t k = 0; k < rows.size(); ++k) {
      TextOutA(reference, rect.left, rect.top + static_cast<int>(k) * 24, rows[k].data(),
               static_cast<int>(rows[k].size()));
    }
    EXPECT_EQ(Difference(expected, bitmap).count, 0) << Difference(expected, bitmap);
  }

  ShiftJis shift_jis;
  FontEngine engine{shift_jis};
  std::unique_ptr<Font> font = engine.Create(24, FW_HEAVY);
  Bitmap bitmap{640, 480}, expected{640, 480};
  Surface surface, reference;
};
using FontTest = TextTest;

TEST_F(FontTest, CellsAreSizedAsTheOldMincho) {
  for (int height : {24, 42, 12}) {
    const std::unique_ptr<Font> sized = engine.Create(height, FW_HEAVY);
    ASSERT_NE(sized, nullptr);
    EXPECT_EQ(sized->cell_height(), height);
    EXPECT_TRUE(sized->ascent() > height / 2 && sized->ascent() < height) << sized->ascent();
    EXPECT_EQ(sized->GlyphFor(U'あ').advance, height + 1);  // the em, plus one when heavy
  }
  const auto by_default = CreateFontA(engine, 0, 0, 0, 0, FW_HEAVY, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0,
                                      0, FIXED_PITCH | FF_ROMAN, "\x82\x6c\x82\x72 \x96\xbe\x92\xa9");
  // A negative height asks for the em, which for the Mincho is the cell.
  const auto by_em = CreateFontA(engine, -24, 0, 0, 0, 400, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0,
                                 FIXED_PITCH | FF_ROMAN, "");
  ASSERT_TRUE(by_default && by_em);
  EXPECT_EQ(by_default->cell_height(), 16);
  EXPECT_EQ(by_em->cell_height(), 24);
  EXPECT_EQ(by_em->GlyphFor(U'あ').advance, 24);
  // Missing characters get a stand-in about as wide as a full-width one.
  for (char32_t code : {char32_t{0xFFFD}, char32_t{0x10FFFD}, char32_t{0x110000}}) {
    EXPECT_GE(font->GlyphFor(code).advance, Advance(U'あ') - 2);
  }
}

TEST_F(FontTest, HeavyWeightOrsTheGlyphWithItselfOnePixelRight) {
  const std::unique_ptr<Font> regular = engine.Create(24, 400);
  ASSERT_NE(regular, nullptr);
  for (char32_t code : {U'あ', U'A', U' '}) {
    const Glyph& thin = regular->GlyphFor(code);
    const Glyph& bold = font->GlyphFor(code);
    EXPECT_EQ(bold.advance, thin.advance + 1);
    if (thin.width == 0) continue;
    ASSERT_TRUE(bold.width == thin.width + 1 && bold.height == thin.height && bold.left == thin.left);
    for (int y = 0; y < bold.height; ++y) {
      auto set = [y](const Glyph& g, int x) { return x >= 0 && x < g.width && g.mask[y * g.width + x]; };
      for (int x = 0; x < bold.width; ++x) ASSERT_EQ(set(bold, x), set(thin, x) || set(thin, x - 1));
    }
  }
}

TEST_F(TextTest, TransparentTextPaintsOnlyItsStrokesInTheTextColour) {
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) bitmap.set_pixel(x, y, ((x ^ y) & 1) != 0 ? 0x123456 : 0x654321);
  }
  const Bitmap before = bitmap;
  const std::string text = Sjis("あ表g「ｱ羅");  // descenders too stay inside the cell
  surface.text_color = RGB(1, 1, 1);
  TextOut(10, 10, text);
  const Bitmap first = bitmap;
  surface.text_color = RGB(255, 255, 255);
  TextOut(10, 10, text);
  const Ink ink = Difference(before, bitmap);
  EXPECT_TRUE(Within(ink, {10, 10, 10 + 6 * Advance(U'あ'), 34}) && ink.count > 100) << ink;
  for (int y = 0; y < 480; ++y) {  // the same pixels both times, exactly in the text colour
    for (int x = 0; x < 640; ++x) {
      const bool drawn = first.pixel(x, y) != before.pixel(x, y);
      ASSERT_EQ(first.pixel(x, y), drawn ? 0x010101u : before.pixel(x, y)) << x << "," << y;
      ASSERT_EQ(bitmap.pixel(x, y), drawn ? 0xFFFFFFu : before.pixel(x, y)) << x << "," << y;
    }
  }
}

TEST_F(TextTest, OpaqueModeFillsEachCell) {
  surface.background_mode = OPAQUE;
  surface.background_color = RGB(0, 0, 255);
  TextOut(10, 10, Sjis("表a"));
  const int right = 10 + Advance(U'表') + Advance(U'a');
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const std::uint32_t pixel = bitmap.pixel(x, y);
      const bool in_cells = x >= 10 && x < right && y >= 10 && y < 34;
      ASSERT_TRUE(in_cells ? pixel == 0xFFFFFF || pixel == 0x0000FF : pixel == 0) << x << "," << y;
    }
  }
}

TEST_F(TextTest, TextOutClipsToTheBitmapAndReportsWhatChanged) {
  std::vector<RECT> changes;
  surface.on_change = [&changes](const RECT& changed) { changes.push_back(changed); };
  for (auto [x, y] : {std::pair{-7, -9}, {630, 470}, {600, -12}, {INT_MIN, INT_MAX},
                      {INT_MAX, INT_MIN}, {INT_MAX - 5, 10}, {-2000000000, 10}}) {
    TextOut(x, y, Sjis("あいうえおかきくけこ"));
  }
  ASSERT_EQ(changes.size(), 3u);  // only the three calls that touch the bitmap
  RECT all{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const RECT& r : changes) {
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= 640 && r.bottom <= 480);
    all = {std::min(all.left, r.left), std::min(all.top, r.top), std::max(all.right, r.right),
           std::max(all.bottom, r.bottom)};
  }
  EXPECT_TRUE(Within(Difference(expected, bitmap), all)) << Difference(expected, bitmap);
}

TEST_F(TextTest, WordBreakKeepsARashomonParagraphInsideTheTextArea) {
  // The first long paragraph, cut to a script line's 254 bytes and its line feed.
  std::ifstream in(std::string(YOMU_TESTDATA_DIR) + "/text/akutagawa-rashomon.sjis.txt");
  std::string line;
  while (std::getline(in, line) && line.size() <= 255) {}
  ASSERT_GT(line.size(), 255u);
  std::size_t end = 0;
  for (std::size_t next = 0; next <= 254; next += IsShiftJisLeadByte(line[next]) ? 2 : 1) end = next;
  const int height = Draw(line.substr(0, end) + "\n", {5, 10, 635, 480}, DT_WORDBREAK);
  const Ink ink = Difference(expected, bitmap);
  EXPECT_EQ(height % 24, 0);
  EXPECT_TRUE(Within(ink, {5, 10, 635, 10 + height}) && ink.bottom > 10 + 3 * 24) << ink;
  EXPECT_GT(ink.bottom, 10 + height - 24);  // the last row holds text: the LF adds none
}

TEST_F(TextTest, CenterPlacesALabelMidwayAndClips) {
  for (int height : {24, 12}) {
    const std::unique_ptr<Font> sized = engine.Create(height, FW_HEAVY);
    surface.font = sized.get();
    bitmap = Bitmap(640, 480);
    EXPECT_EQ(Draw(Sjis("羅生門   1 ページ"), {0, 60, 400, 80}, DT_CENTER), height);
    const Ink ink = Difference(expected, bitmap);
    EXPECT_TRUE(Within(ink, {0, 60, 400, 80})) << ink;
    EXPECT_NEAR(ink.left + ink.right, 400, 4) << height;
  }
  std::string text;  // without DT_WORDBREAK one row, clipped at the right
  for (int i = 0; i < 60; ++i) text += Sjis("あ");
  surface.font = font.get();
  bitmap = Bitmap(640, 480);
  EXPECT_EQ(Draw(text, {5, 10, 300, 480}, 0), 24);
  const Ink ink = Difference(expected, bitmap);
  EXPECT_TRUE(Within(ink, {5, 10, 300, 34}) && ink.right == 300) << ink;
}

TEST_F(TextTest, RowsBreakAtTheRectangleWidth) {
  std::string hyo40;  // 表 ends in 0x5C: a break inside it would show a backslash
  for (int i = 0; i < 40; ++i) hyo40 += "\x95\x5C";
  std::vector<std::string> hyo_rows(13, "\x95\x5C\x95\x5C\x95\x5C");
  hyo_rows.push_back("\x95\x5C");
  const int a = Advance(U'a'), wide = Advance(U'あ');
  ExpectRows(hyo40, {7, 3, 7 + 3 * wide + wide / 2, 480}, DT_WORDBREAK, hyo_rows);
  ExpectRows("aaa bbb ccc ddddddddddddddddd", {5, 10, 5 + 7 * a, 480}, DT_WORDBREAK,
             {"aaa bbb", "ccc", "ddddddd", "ddddddd", "ddd"});
  // "abcd" does not fit behind "ああ" and moves down whole, as a word would.
  ExpectRows(Sjis("ああabcdあいう"), {5, 10, 5 + 2 * wide + 3 * a, 480}, DT_WORDBREAK,
             {Sjis("ああ"), Sjis("abcdあ"), Sjis("いう")});
  ExpectRows(Sjis("あ\r\nい\rう\nえ\n"), {5, 10, 635, 480}, 0,
             {Sjis("あ"), Sjis("い"), Sjis("う"), Sjis("え")});
  EXPECT_EQ(Draw("\n", {5, 10, 635, 480}, DT_WORDBREAK), 24);
  EXPECT_EQ(Draw("a\n\nb", {5, 200, 635, 480}, DT_WORDBREAK), 3 * 24);
}

TEST_F(TextTest, ExtremeRectanglesDrawNothingAndEnd) {
  std::string text;
  for (int i = 0; i < 120; ++i) text += Sjis("あ a");
  EXPECT_EQ(Draw(text, {5, INT_MIN + 5, 635, 480}, DT_WORDBREAK) % 24, 0);
  EXPECT_EQ(Draw(text, {5, INT_MAX - 5, 635, INT_MAX}, DT_WORDBREAK), 24);
  EXPECT_EQ(Draw(text, {5, INT_MAX - 5, 635, 480}, DT_WORDBREAK), 0);
  // Rows start while above the bottom: at INT_MIN and INT_MIN + 24.
  EXPECT_EQ(Draw(text, {INT_MIN, INT_MIN, INT_MIN + 10, INT_MIN + 30}, DT_WORDBREAK | DT_CENTER), 48);
  EXPECT_EQ(Draw(text, {INT_MAX - 3, 0, INT_MIN, 480}, DT_WORDBREAK), 480);  // width < 0
  EXPECT_EQ(Difference(expected, bitmap).count, 0);
  // A rectangle wider than any row centres the text around x = 0.
  EXPECT_EQ(Draw(Sjis("あい"), {INT_MIN, 0, INT_MAX, 480}, DT_CENTER), 24);
  EXPECT_TRUE(Within(Difference(expected, bitmap), {0, 0, 30, 24})) << Difference(expected, bitmap);
}

TEST_F(TextTest, MalformedBytesDrawSafely) {
  // Exactly sized buffers, so that a read past the length is caught.
  std::unique_ptr<char[]> every_byte(new char[256]);
  for (int i = 0; i < 256; ++i) every_byte[static_cast<std::size_t>(i)] = static_cast<char>(255 - i);
  RECT rect{100, 50, 400, 300};
  for (UINT format : {DT_WORDBREAK, DT_CENTER}) DrawTextA(surface, every_byte.get(), 256, &rect, format);
  EXPECT_TRUE(Within(Difference(expected, bitmap), rect)) << Difference(expected, bitmap);
  // A lead byte at the very end is a blank; a NUL draws nothing.
  std::unique_ptr<char[]> cut(new char[4]{'a', '\0', 'b', '\x82'});
  bitmap = Bitmap(640, 480);
  EXPECT_TRUE(TextOutA(surface, 0, 0, cut.get(), 4));
  EXPECT_EQ(Draw(std::string("a\0b\x82", 4), {0, 100, 640, 480}, DT_WORDBREAK), 24);
  TextOutA(reference, 0, 0, "ab", 2);
  TextOutA(reference, 0, 100, "ab", 2);
  EXPECT_EQ(Difference(expected, bitmap).count, 0);
  surface.font = nullptr;  // without a font or a bitmap nothing is drawn, and nothing fails
  EXPECT_TRUE(TextOutA(surface, 0, 200, "ab", 2));
  EXPECT_EQ(Draw("ab", {0, 200, 640, 480}, DT_WORDBREAK), 0);
  EXPECT_EQ(Difference(expected, bitmap).count, 0);
  surface.font = font.get();
  surface.bitmap = nullptr;
  EXPECT_EQ(DrawTextA(surface, every_byte.get(), 256, &rect, DT_WORDBREAK) % 24, 0);
  EXPECT_TRUE(TextOutA(surface, 0, 0, every_byte.get(), 256));
}

}  // namespace
