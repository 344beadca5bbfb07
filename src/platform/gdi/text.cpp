// Shift-JIS text on surfaces: characters read from the bytes one at a time, rows
// broken for DrawTextA, glyph masks painted with clipping. All coordinates are
// 64-bit, so no script's rectangle overflows them.
#include "platform/gdi/text.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/gdi/font.h"
#include "platform/shift_jis.h"

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;
constexpr char32_t HALF_CHARACTER = 0;  // below U+0020: takes no room

struct Box {
  std::int64_t left;
  std::int64_t top;
  std::int64_t right;
  std::int64_t bottom;
};

Box Intersect(const Box& a, const Box& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

// One character of a Shift-JIS byte string.
struct TextChar {
  char32_t code = 0;
  int bytes = 1;
  bool wide = false;  // a double-byte character
};

// A lead byte without a byte after it that can end it is half a character, as a field
// cut inside a character leaves it: it is drawn like a control byte, with no glyph and
// no room.
TextChar ReadChar(ShiftJis& shift_jis, const unsigned char* text, std::int64_t length,
                  std::int64_t pos) {
  const std::string_view bytes(reinterpret_cast<const char*>(text),
                               static_cast<std::size_t>(length));
  const unsigned char byte = text[pos];
  if (ShiftJisWholeCharacterLength(bytes, static_cast<std::size_t>(pos)) == 2) {
    return {shift_jis.Decode(byte, text[pos + 1]), 2, true};
  }
  if (IsShiftJisLeadByte(byte)) return {HALF_CHARACTER, 1, false};
  return {shift_jis.DecodeSingle(byte), 1, false};
}

// Control bytes take no room; a single byte that is no character takes a narrow
// blank place.
bool DrawsGlyph(const TextChar& c) { return c.code >= 0x20 && (c.wide || c.code != REPLACEMENT); }

int AdvanceOf(const Font& font, const TextChar& c) {
  if (c.code < 0x20) return 0;
  if (!DrawsGlyph(c)) return font.GlyphFor(U' ').advance;
  return font.GlyphFor(c.code).advance;
}

// Paints characters on one bitmap within a clip box and remembers what it touched.
class Painter {
 public:
  Painter(const Surface& surface, const Box& clip)
      : bitmap_(*surface.bitmap),
        font_(*surface.font),
        text_pixel_(PixelFromColor(surface.text_color)),
        background_pixel_(PixelFromColor(surface.background_color)),
        opaque_(surface.background_mode == OPAQUE),
        clip_(Intersect(clip, {0, 0, surface.bitmap->width(), surface.bitmap->height()})) {}

  const Box& clip() const { return clip_; }

  // Draws one character with its cell's top-left corner at (x, top); returns its advance.
  int Draw(const TextChar& c, std::int64_t x, std::int64_t top) {
    const int advance = AdvanceOf(font_, c);
    if (opaque_ && advance > 0) Fill({x, top, x + advance, top + font_.cell_height()});
    if (DrawsGlyph(c)) Paint(font_.GlyphFor(c.code), x, top);
    return advance;
  }

  void NotifyChanged(const Surface& surface) const {
    if (touched_.right <= touched_.left || touched_.bottom <= touched_.top) return;
    // Everything touched lies inside the bitmap, so it fits 32 bits.
    surface.NotifyChanged({static_cast<std::int32_t>(touched_.left),
                           static_cast<std::int32_t>(touched_.top),
                           static_cast<std::int32_t>(touched_.right),
                           static_cast<std::int32_t>(touched_.bottom)});
  }

 private:
  void Touch(const Box& box) {
    touched_ = {std::min(touched_.left, box.left), std::min(touched_.top, box.top),
                std::max(touched_.right, box.right), std::max(touched_.bottom, box.bottom)};
  }

  void Fill(const Box& cell) {
    const Box area = Intersect(cell, clip_);
    if (area.right <= area.left || area.bottom <= area.top) return;
    for (std::int64_t y = area.top; y < area.bottom; ++y) {
      std::uint32_t* row = bitmap_.row(static_cast<int>(y));
      std::fill(row + area.left, row + area.right, background_pixel_);
    }
    Touch(area);
  }

  // Only the mask's pixels are painted: between the strokes everything stays.
  void Paint(const Glyph& glyph, std::int64_t x, std::int64_t top) {
    const std::int64_t left = x + glyph.left;
    const std::int64_t first_row = top + glyph.top;
    const Box area =
        Intersect({left, first_row, left + glyph.width, first_row + glyph.height}, clip_);
    if (area.right <= area.left || area.bottom <= area.top) return;
    for (std::int64_t y = area.top; y < area.bottom; ++y) {
      const std::uint8_t* mask = glyph.mask.data() + (y - first_row) * glyph.width;
      std::uint32_t* row = bitmap_.row(static_cast<int>(y));
      for (std::int64_t px = area.left; px < area.right; ++px) {
        if (mask[px - left] != 0) row[px] = text_pixel_;
      }
    }
    Touch(area);
  }

  Bitmap& bitmap_;
  const Font& font_;
  const std::uint32_t text_pixel_;
  const std::uint32_t background_pixel_;
  const bool opaque_;
  const Box clip_;
  Box touched_{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
};

// One row of DrawTextA: the bytes [start, end) are drawn, the next row starts at next
// (a dropped space or line break lies between), width is what the drawn part takes.
struct Row {
  std::int64_t end = 0;
  std::int64_t next = 0;
  std::int64_t width = 0;
};

struct Layout {
  const Font& font;
  const unsigned char* text;
  std::int64_t length;
  bool word_break;
  std::int64_t max_width;
};

// A row ends at a line break (LF, CR or CR LF), or, when breaking words, before the
// character that would pass max_width: at that character when it is a space (which
// is dropped) or a double-byte character or follows one, else at the last space, else
// at that character itself; a closing mark is not left to begin a row. A row always
// takes at least one character.
// Punctuation and small kana that a row of Japanese text does not begin with.
bool MayNotStartRow(char32_t code) {
  static constexpr std::u32string_view NO_START =
      U"、。，．・：；？！ー）」』］｝〕〉》】ぁぃぅぇぉっゃゅょァィゥェォッャュョ…‥";
  return NO_START.find(code) != std::u32string_view::npos;
}

Row MeasureRow(const Layout& layout, std::int64_t start) {
  ShiftJis& shift_jis = layout.font.shift_jis();
  std::int64_t x = 0;
  std::int64_t pos = start;
  bool previous_wide = false;
  Row before_previous{-1, -1, 0};  // the break before the last wide character
  Row last_break{-1, -1, 0};
  while (pos < layout.length) {
    const TextChar c = ReadChar(shift_jis, layout.text, layout.length, pos);
    if (c.code == U'\n') return {pos, pos + 1, x};
    if (c.code == U'\r') {
      const bool crlf = pos + 1 < layout.length && layout.text[pos + 1] == '\n';
      return {pos, pos + (crlf ? 2 : 1), x};
    }
    const int advance = AdvanceOf(layout.font, c);
    const bool space = !c.wide && c.code == U' ';
    const bool breaks_before = x > 0 && (c.wide || previous_wide);
    if (layout.word_break && x > 0 && advance > 0 && x + advance > layout.max_width) {
      if (space) return {pos, pos + 1, x};
      // A closing mark that would begin the next row takes the character before it along.
      if (c.wide && MayNotStartRow(c.code) && before_previous.end > start) return before_previous;
      if (breaks_before || last_break.end < 0) return {pos, pos, x};
      return last_break;
    }
    if (space && x > 0) last_break = {pos, pos + 1, x};
    if (breaks_before) last_break = {pos, pos, x};
    before_previous = c.wide ? Row{pos, pos, x} : Row{-1, -1, 0};
    x += advance;
    previous_wide = c.wide;
    pos += c.bytes;
  }
  return {layout.length, layout.length, x};
}

void DrawRun(Painter& painter, const Layout& layout, std::int64_t begin, std::int64_t end,
             std::int64_t x, std::int64_t top) {
  ShiftJis& shift_jis = layout.font.shift_jis();
  for (std::int64_t pos = begin; pos < end;) {
    const TextChar c = ReadChar(shift_jis, layout.text, layout.length, pos);
    x += painter.Draw(c, x, top);
    pos += c.bytes;
  }
}

bool RowVisible(const Box& clip, std::int64_t top, std::int64_t height) {
  return clip.left < clip.right && top < clip.bottom && top + height > clip.top;
}

}  // namespace

bool TextOutA(Surface& surface, int x, int y, const char* text_sjis, int length) {
  if (surface.font == nullptr || surface.bitmap == nullptr || text_sjis == nullptr || length <= 0) {
    return true;
  }
  const Layout layout{*surface.font, reinterpret_cast<const unsigned char*>(text_sjis), length,
                      false, 0};
  Painter painter(surface, {INT64_MIN, INT64_MIN, INT64_MAX, INT64_MAX});
  if (RowVisible(painter.clip(), y, surface.font->cell_height())) {
    DrawRun(painter, layout, 0, length, x, y);
  }
  painter.NotifyChanged(surface);
  return true;
}

int DrawTextA(Surface& surface, const char* text_sjis, int length, RECT* rect, UINT format) {
  if (surface.font == nullptr || text_sjis == nullptr || rect == nullptr || length <= 0) return 0;
  const Font& font = *surface.font;
  const std::int64_t cell_height = font.cell_height();
  const std::int64_t width = std::int64_t{rect->right} - rect->left;
  const Layout layout{font, reinterpret_cast<const unsigned char*>(text_sjis), length,
                      (format & DT_WORDBREAK) != 0, width};
  const bool center = (format & DT_CENTER) != 0;

  std::optional<Painter> painter;
  if (surface.bitmap != nullptr) {
    painter.emplace(surface, Box{rect->left, rect->top, rect->right, rect->bottom});
  }
  std::int64_t row_top = rect->top;
  std::int64_t rows = 0;
  // Rows that start below the rectangle are neither drawn nor laid out.
  for (std::int64_t pos = 0; pos < length && row_top < rect->bottom; ++rows) {
    const Row row = MeasureRow(layout, pos);
    if (painter && RowVisible(painter->clip(), row_top, cell_height)) {
      const std::int64_t x = rect->left + (center ? (width - row.width) / 2 : 0);
      DrawRun(*painter, layout, pos, row.end, x, row_top);
    }
    row_top += cell_height;
    pos = row.next;
  }
  if (painter) painter->NotifyChanged(surface);
  return static_cast<int>(std::min<std::int64_t>(rows * cell_height, INT_MAX));
}

int TextWidth(const Font& font, const char* text_sjis, int length) {
  const auto* text = reinterpret_cast<const unsigned char*>(text_sjis);
  int width = 0;
  for (std::int64_t pos = 0; pos < length;) {
    const TextChar c = ReadChar(font.shift_jis(), text, length, pos);
    width += AdvanceOf(font, c);
    pos += c.bytes;
  }
  return width;
}
