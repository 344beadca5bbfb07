// Fonts and text on surfaces: cell metrics, emboldening, and where TextOutA and
// DrawTextA put their pixels.
#include "platform/gdi/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <ostream>

#include "platform/gdi/font.h"
#include "platform/shift_jis.h"
#include "support/novel.h"

namespace {

// The box around the pixels that differ between two bitmaps; right and bottom exclusive.
struct Ink {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN, count = 0;
  bool Within(RECT r) const {
    return count > 0 && left >= r.left && top >= r.top && right <= r.right && bottom <= r.bottom;
  }
};
std::ostream& operator<<(std::ostream& out, const Ink& ink) {
  return out << ink.count << " px in " << ink.left << "," << ink.top << "-" << ink.right << ","
             << ink.bottom;
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
    for (auto [s, b] : {std::pair{&surface, &bitmap}, {&reference, &expected}}) {
      s->bitmap = b;
      s->font = font.get();
      s->text_color = RGB(255, 255, 255);
      s->background_mode = TRANSPARENT;
    }
  }

  std::string Sjis(const char* utf8) { return shift_jis.FromUtf8(utf8).value(); }
  std::string Repeat(const char* utf8, int n) { return Times(n, Sjis(utf8)); }
  int Draw(const std::string& text, RECT rect, UINT format) {
    return DrawTextA(surface, text.data(), int(text.size()), &rect, format);
  }
  void TextOut(int x, int y, const std::string& text) {
    TextOutA(surface, x, y, text.data(), int(text.size()));
  }
  int Advance(char32_t code) { return font->GlyphFor(code).advance; }
  Ink Drawn() const { return Difference(expected, bitmap); }
  void Clear() { bitmap = expected = Bitmap(640, 480); }

  // DrawTextA must paint what TextOutA paints for each of the rows in turn.
  void ExpectRows(const std::string& text, RECT rect, UINT format,
                  const std::vector<std::string>& rows) {
    Clear();
    EXPECT_EQ(Draw(text, rect, format), static_cast<int>(rows.size()) * 24);
    for (int k = 0; k < int(rows.size()); ++k) {
      TextOutA(reference, rect.left, rect.top + k * 24, rows[k].data(), int(rows[k].size()));
    }
    EXPECT_EQ(Drawn().count, 0) << Drawn();
  }

  ShiftJis shift_jis;
  FontEngine engine{shift_jis};
  std::unique_ptr<Font> font = engine.Create(24, FW_HEAVY);
  Bitmap bitmap{640, 480}, expected{640, 480};
  Surface surface, reference;
};

TEST_F(TextTest, CellsAreSizedAsTheOldMinchoAndHeavyOrsEachGlyphOnePixelRight) {
  for (int height : {24, 42, 12}) {
    const std::unique_ptr<Font> sized = engine.Create(height, FW_HEAVY);
    ASSERT_TRUE(sized && sized->cell_height() == height);
    EXPECT_TRUE(sized->ascent() > height / 2 && sized->ascent() < height);
    EXPECT_EQ(sized->GlyphFor(U'あ').advance, height + 1);  // the em, plus one when heavy
  }
  const char* face = "\x82\x6c\x82\x72 \x96\xbe\x92\xa9";  // ＭＳ 明朝
  const auto by_default = CreateFontA(engine, 0, 0, 0, 0, FW_HEAVY, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0,
                                      0, FIXED_PITCH | FF_ROMAN, face);
  const auto by_em = CreateFontA(engine, -24, 0, 0, 0, 400, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0,
                                 FIXED_PITCH | FF_ROMAN, "");
  ASSERT_TRUE(by_default && by_em && by_default->cell_height() == 16);
  // A negative height asks for the em: for the Mincho, the cell.
  EXPECT_EQ(by_em->cell_height(), 24);
  EXPECT_EQ(by_em->GlyphFor(U'あ').advance, 24);
  // Stand-ins for what the face lacks are full-width.
  for (char32_t code : {0xFFFDu, 0x10FFFDu, 0x110000u})
    EXPECT_GE(Advance(code), Advance(U'あ') - 2);
  const std::unique_ptr<Font> regular = engine.Create(24, 400);
  const auto set = [](const Glyph& g, int x, int y) {
    return x >= 0 && x < g.width && g.mask[y * g.width + x];
  };
  for (char32_t code : {U'あ', U'A', U' '}) {
    const Glyph &thin = regular->GlyphFor(code), &bold = font->GlyphFor(code);
    EXPECT_EQ(bold.advance, thin.advance + 1);
    if (thin.width == 0) continue;
    ASSERT_TRUE(bold.width == thin.width + 1 && bold.height == thin.height);
    ASSERT_EQ(bold.left, thin.left);
    for (int y = 0; y < bold.height; ++y) {
      for (int x = 0; x < bold.width; ++x) {
        ASSERT_EQ(set(bold, x, y), set(thin, x, y) || set(thin, x - 1, y));
      }
    }
  }
}

TEST_F(TextTest, TextOutPaintsOnlyStrokesInTheTextColourOrOpaqueCells) {
  for (int i = 0; i < 640 * 480; ++i) bitmap.row(0)[i] = ((i ^ i / 640) & 1) ? 0x123456 : 0x654321;
  const Bitmap before = bitmap;
  const std::string text = Sjis("あ表g「ｱ羅");  // descenders too stay inside the cell
  surface.text_color = RGB(1, 1, 1);
  TextOut(10, 10, text);
  const Bitmap first = bitmap;
  surface.text_color = RGB(255, 255, 255);
  TextOut(10, 10, text);
  const Ink ink = Difference(before, bitmap);
  EXPECT_TRUE(ink.Within({10, 10, 10 + 6 * Advance(U'あ'), 34}) && ink.count > 100) << ink;
  for (int i = 0; i < 640 * 480; ++i) {  // the same pixels both times, exactly in the text colour
    const std::uint32_t was = before.row(0)[i], once = first.row(0)[i], twice = bitmap.row(0)[i];
    ASSERT_TRUE(once == was ? twice == was : once == 0x010101u && twice == 0xFFFFFFu) << i;
  }
  Clear();
  surface.background_mode = OPAQUE;
  surface.background_color = RGB(0, 0, 255);
  TextOut(10, 10, Sjis("表a"));
  const int right = 10 + Advance(U'表') + Advance(U'a');  // whole cells, in two colours only
  EXPECT_TRUE(Drawn().Within({10, 10, right, 34}) && Drawn().count == (right - 10) * 24);
  const auto count = [&](std::uint32_t colour) {
    return std::count(bitmap.row(0), bitmap.row(480), colour);
  };
  EXPECT_EQ(bitmap.pixel(right - 1, 10), 0x0000FFu);
  EXPECT_EQ(count(0xFFFFFFu) + count(0x0000FFu), Drawn().count);
}

TEST_F(TextTest, TextOutClipsToTheBitmapAndReportsWhatChanged) {
  std::vector<RECT> changes;
  surface.on_change = [&changes](const RECT& changed, const RECT&) { changes.push_back(changed); };
  const std::pair<int, int> at[] = {{-7, -9},          {630, 470},         {600, -12},
                                     {INT_MIN, INT_MAX}, {INT_MAX, INT_MIN}, {INT_MAX - 5, 10},
                                     {-2000000000, 10}};
  for (auto [x, y] : at) TextOut(x, y, Sjis("あいうえおかきくけこ"));
  ASSERT_EQ(changes.size(), 3u);  // only the three calls that touch the bitmap
  RECT all{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (const RECT& r : changes) {
    all = {std::min(all.left, r.left), std::min(all.top, r.top), std::max(all.right, r.right),
           std::max(all.bottom, r.bottom)};
  }
  EXPECT_TRUE(all.left >= 0 && all.top >= 0 && all.right <= 640 && all.bottom <= 480);
  EXPECT_TRUE(Drawn().Within(all)) << Drawn();
}

TEST_F(TextTest, DrawTextBreaksRowsAtTheWidthNeverInACharacterNorBeforeAClosingMark) {
  const int a = Advance(U'a'), wide = Advance(U'あ');
  // 表 ends in 0x5C: a break inside it would show a backslash.
  ExpectRows(Repeat("表", 39), {7, 3, 7 + 3 * wide + wide / 2, 480}, DT_WORDBREAK,
             std::vector(13, Repeat("表", 3)));
  ExpectRows("aaa bbb ccc ddddddddddddddddd", {5, 10, 5 + 7 * a, 480}, DT_WORDBREAK,
             {"aaa bbb", "ccc", "ddddddd", "ddddddd", "ddd"});
  // "abcd" does not fit behind "ああ" and moves down whole, as a word would.
  ExpectRows(Sjis("ああabcdあいう"), {5, 10, 5 + 2 * wide + 3 * a, 480}, DT_WORDBREAK,
             {Sjis("ああ"), Sjis("abcdあ"), Sjis("いう")});
  ExpectRows(Sjis("あ\r\nい\rう\nえ\n"), {5, 10, 635, 480}, 0,
             {Sjis("あ"), Sjis("い"), Sjis("う"), Sjis("え")});
  // A comma that would begin a row takes the character before it along.
  ExpectRows(Sjis("あいうえおかきくけこ、さ"), {0, 0, 5 * wide, 480}, DT_WORDBREAK,
             {Sjis("あいうえお"), Sjis("かきくけ"), Sjis("こ、さ")});
  ExpectRows(Sjis("あいうえお、"), {0, 0, 5 * wide, 480}, DT_WORDBREAK,
             {Sjis("あいうえ"), Sjis("お、")});
  EXPECT_EQ(Draw("\n", {5, 10, 635, 480}, DT_WORDBREAK), 24);
  EXPECT_EQ(Draw("a\n\nb", {5, 200, 635, 480}, DT_WORDBREAK), 3 * 24);
  Clear();  // without DT_WORDBREAK one row, clipped at the right
  EXPECT_EQ(Draw(Repeat("あ", 60), {5, 10, 300, 480}, 0), 24);
  EXPECT_TRUE(Drawn().Within({5, 10, 300, 34}) && Drawn().right == 300) << Drawn();
}

TEST_F(TextTest, ExtremeRectanglesAndMalformedBytesDrawSafely) {
  const std::string text = Repeat("あ a", 120);
  EXPECT_EQ(Draw(text, {5, INT_MIN + 5, 635, 480}, DT_WORDBREAK) % 24, 0);
  EXPECT_EQ(Draw(text, {5, INT_MAX - 5, 635, INT_MAX}, DT_WORDBREAK), 24);
  EXPECT_EQ(Draw(text, {5, INT_MAX - 5, 635, 480}, DT_WORDBREAK), 0);
  // Rows at INT_MIN and INT_MIN + 24; a negative width.
  EXPECT_EQ(Draw(text, {INT_MIN, INT_MIN, INT_MIN + 10, INT_MIN + 30}, DT_WORDBREAK | DT_CENTER),
            48);
  EXPECT_EQ(Draw(text, {INT_MAX - 3, 0, INT_MIN, 480}, DT_WORDBREAK), 480);
  EXPECT_EQ(Drawn().count, 0);
  // A row narrower than the rectangle: centred around x = 0.
  EXPECT_EQ(Draw(Sjis("あい"), {INT_MIN, 0, INT_MAX, 480}, DT_CENTER), 24);
  EXPECT_TRUE(Drawn().Within({0, 0, 30, 24})) << Drawn();
  // Exactly sized buffers, so that a read past the length is caught.
  std::unique_ptr<char[]> every_byte(new char[256]);
  for (std::size_t i = 0; i < 256; ++i) every_byte[i] = static_cast<char>(255 - i);
  RECT rect{100, 50, 400, 300};
  Clear();
  for (UINT format : {DT_WORDBREAK, DT_CENTER}) {
    DrawTextA(surface, every_byte.get(), 256, &rect, format);
  }
  EXPECT_TRUE(Drawn().Within(rect)) << Drawn();
  // A NUL draws nothing; neither does half a character, a lead byte without its trail.
  std::unique_ptr<char[]> cut(new char[4]{'a', '\0', 'b', '\x82'});
  EXPECT_EQ(TextWidth(*font, "a\x82 1\x82", 5), TextWidth(*font, "a 1", 3));
  Clear();
  EXPECT_TRUE(TextOutA(surface, 0, 0, cut.get(), 4));
  EXPECT_EQ(Draw(std::string("a\0b\x82", 4), {0, 100, 640, 480}, DT_WORDBREAK), 24);
  for (int y : {0, 100}) TextOutA(reference, 0, y, "ab", 2);
  surface.font = nullptr;  // without a font or a bitmap nothing is drawn, and nothing fails
  EXPECT_TRUE(TextOutA(surface, 0, 200, "ab", 2));
  EXPECT_EQ(Draw("ab", {0, 200, 640, 480}, DT_WORDBREAK), 0);
  EXPECT_EQ(Drawn().count, 0) << Drawn();
  surface.font = font.get();
  surface.bitmap = nullptr;
  EXPECT_EQ(DrawTextA(surface, every_byte.get(), 256, &rect, DT_WORDBREAK) % 24, 0);
  EXPECT_TRUE(TextOutA(surface, 0, 0, every_byte.get(), 256));
}

}  // namespace
