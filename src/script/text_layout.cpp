// Text layout and pages.
#include "script/text_layout.h"

#include <cstring>

#include "platform/gdi/text.h"
#include "reader/line_arguments.h"
#include "reader/reader.h"
#include "reader/text_fields.h"
#include "reader/texts.h"
#include "render/surfaces.h"
#include "script/line_table.h"
#include "script/text_outlets.h"

namespace {

constexpr std::int32_t PAGE_LIMIT = 380;
constexpr std::uint32_t FADE_STEP_MS = 100;
// The label's rows, and the left end of what a page clear's label covers (a title's
// covers less).
constexpr int LABEL_LEFT = 250;
constexpr int LABEL_TOP = 440;
constexpr int LABEL_HEIGHT = 20;

// Draws the paragraph at rising grey levels, each shown at once, before the white draw.
void FadeIn(Reader& r, const char* line, int length) {
  ReaderState& s = r.state;
  int level = 1;
  while (level <= 255) {
    SetTextColor(*s.PageSurface, RGB(level, level, level));
    DrawTextA(*s.PageSurface, line, length, &s.TextRect, DT_WORDBREAK);
    PresentPage(r, s.WindowDC);
    Sleep(r.platform, FADE_STEP_MS);
    level = static_cast<int>(10.0 - level * -1.1);
  }
}

// The lines of the table before line that hold the same bytes: what tells two equal
// paragraphs of a file apart without their line numbers.
int SameLinesBefore(const ReaderState& s, int line) {
  int same = 0;
  for (int k = 0; k < line; ++k) {
    same += std::strncmp(s.ScriptLines[k], s.ScriptLines[line], SCRIPT_LINE_SIZE) == 0;
  }
  return same;
}

}  // namespace

bool LineOverflowsPage(std::int32_t top, std::int32_t font_height, std::uint32_t length) {
  // The quotient is added unscaled: a count of rows, not pixels.
  const std::uint32_t rows = length * static_cast<std::uint32_t>(font_height) / 1120u;
  const std::uint32_t bottom =
      static_cast<std::uint32_t>(top) + static_cast<std::uint32_t>(font_height) + rows;
  return static_cast<std::int32_t>(bottom) > PAGE_LIMIT;
}

std::int32_t CursorAfterLine(std::int32_t top, std::int32_t font_height, std::uint32_t length) {
  // Rows are estimated from bytes, not from the rows the text really wrapped to.
  const std::uint32_t height = static_cast<std::uint32_t>(font_height);
  const std::uint32_t rows = 1u + (length - 1u) * height / 1200u;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(top) + rows * height);
}

// Every positive size means the large font; a negative one changes no font, yet the
// height takes the size itself, and the layout counts with it.
std::int32_t FontHeightOf(std::int32_t size) {
  if (size > 0) return LARGE_FONT_HEIGHT;
  if (size == 0) return NORMAL_FONT_HEIGHT;
  return size;
}

void FormatPageLabel(char (&label)[256], const char* title, std::int32_t page) {
  FormatField(label, texts::PAGE_LABEL_FORMAT, title, page);
}

void WipePage(ReaderState& s) {
  // The label's backdrop is the background behind the bottom strip.
  BitBlt(*s.StatusSurface, 0, 60, 400, 50, *s.PageSurface, 220, 940, SRCCOPY);
  BitBlt(*s.PageSurface, 0, 0, 640, 460, *s.PageSurface, 0, 480, SRCCOPY);
}

void CopyPageLabel(const ReaderState& s, Surface& picture) {
  BitBlt(picture, LABEL_LEFT, LABEL_TOP, PAGE_WIDTH - LABEL_LEFT, LABEL_HEIGHT, *s.PageSurface,
         LABEL_LEFT, LABEL_TOP, SRCCOPY);
}

void DrawPageLabel(ReaderState& s, RECT& label_rect) {
  char label[256];
  FormatPageLabel(label, s.ChapterTitle, s.PageNumber);
  DrawTextA(*s.StatusSurface, label, static_cast<int>(std::strlen(label)), &label_rect, DT_CENTER);
  BitBlt(*s.PageSurface, LABEL_LEFT, LABEL_TOP, 400, LABEL_HEIGHT, *s.StatusSurface, 0, 60,
         SRCCOPY);
}

void ClearPage(Reader& r) {
  ReaderState& s = r.state;
  WipePage(s);
  s.TextTop() = TOP_AFTER_PAGE_CLEAR;
  // A bookmark may name the highest page; the count wraps there instead of overflowing.
  s.PageNumber = static_cast<std::int32_t>(std::int64_t{s.PageNumber} + 1);
  DrawPageLabel(s, s.LabelRect);
}

void PutTextLine(Reader& r, int fade) {
  ReaderState& s = r.state;
  if (!LineInTable(s.CurrentLine)) return;
  const char* line = s.ScriptLines[s.CurrentLine];
  if (line[0] == 'C') {
    ClearPage(r);
    return;
  }
  const auto length = static_cast<std::uint32_t>(strnlen(line, SCRIPT_LINE_SIZE));
  // An empty slot, past the end of a file: nothing to draw and no row to take.
  if (length == 0) return;
  if (LineOverflowsPage(s.TextTop(), s.FontHeight, length)) ClearPage(r);
  // Passed on as it starts to appear, so that a dictionary tool has it at once.
  PassOnParagraph(r, std::string_view(line, length), SameLinesBefore(s, s.CurrentLine));
  if (fade == 1 && s.SkipMode == 0) FadeIn(r, line, static_cast<int>(length));
  SetTextColor(*s.PageSurface, RGB(255, 255, 255));
  DrawTextA(*s.PageSurface, line, static_cast<int>(length), &s.TextRect, DT_WORDBREAK);
  s.TextTop() = CursorAfterLine(s.TextTop(), s.FontHeight, length);
}

void CmdFontSize(Reader& r) {
  ReaderState& s = r.state;
  const std::int32_t size = ReadNumber(s.ScriptLines[s.CurrentLine], FONT_SIZE_COLUMNS);
  s.FontHeight = FontHeightOf(size);
  if (size > 0) SelectObject(*s.PageSurface, static_cast<const Font*>(s.FontLarge.get()));
  if (size == 0) SelectObject(*s.PageSurface, static_cast<const Font*>(s.FontNormal.get()));
}

void CmdBrightness(Reader& r) {
  ReaderState& s = r.state;
  s.TextBrightness = ReadNumber(s.ScriptLines[s.CurrentLine], BRIGHTNESS_COLUMNS);
  SetTextColor(*s.PageSurface, BrightnessGrey(s.TextBrightness));
}

void CmdTitle(Reader& r, Window& window) {
  ReaderState& s = r.state;
  const char* line = s.ScriptLines[s.CurrentLine];
  // Column 1 is skipped whatever it holds, even the first byte of a character.
  char title[256] = {};
  if (line[0] != '\0' && line[1] != '\0') CopyRestOfLine(title, line + TITLE_COLUMN);
  CopyField(s.ChapterTitle, title);
  SetWindowTextA(window, title);

  Surface& page = *s.PageSurface;
  Surface& status = *s.StatusSurface;
  BitBlt(status, 0, 60, 300, 50, page, 220, 940, SRCCOPY);
  BitBlt(page, 0, 0, 640, 460, page, 0, 480, SRCCOPY);
  char label[256];
  FormatPageLabel(label, s.ChapterTitle, s.PageNumber);
  TextOutA(status, 0, 60, label, static_cast<int>(std::strlen(label)));
  BitBlt(page, 350, 440, 300, 20, status, 0, 60, SRCCOPY);
}
