// The backlog's picture.
#include "app/backlog_view.h"

#include "platform/gdi/shade.h"
#include "platform/gdi/text.h"
#include "platform/window/window.h"
#include "reader/reader.h"
#include "reader/texts.h"
#include "script/text_layout.h"

namespace {

constexpr RECT WHOLE_WINDOW{0, 0, CLIENT_WIDTH, CLIENT_HEIGHT};
constexpr int BACKLOG_LEFT = 20;
constexpr int BACKLOG_RIGHT = CLIENT_WIDTH - 20;
constexpr int BACKLOG_TOP = 10;
constexpr int BACKLOG_BOTTOM = CLIENT_HEIGHT - 10;
constexpr int PARAGRAPH_GAP = 12;
// The page's picture shows through at a fifth of its brightness; its text not at all.
constexpr int PAGE_SHADE_256THS = 51;
constexpr COLORREF PARAGRAPH_COLOUR = RGB(255, 255, 255);
constexpr COLORREF CHOICE_COLOUR = RGB(0, 255, 0);  // as a choice is highlighted
// Taller than any paragraph of a line's 255 bytes can wrap to.
constexpr int MEASURE_HEIGHT = 1 << 20;

OffscreenPicture WindowSizedPicture(Surface& reference) {
  OffscreenPicture picture;
  picture.bitmap = CreateCompatibleBitmap(&reference, CLIENT_WIDTH, CLIENT_HEIGHT);
  picture.surface = CreateCompatibleDC(&reference);
  SelectObject(*picture.surface, picture.bitmap.get());
  return picture;
}

void CopyWhole(Surface& destination, const Surface& source) {
  BitBlt(destination, 0, 0, CLIENT_WIDTH, CLIENT_HEIGHT, source, 0, 0, SRCCOPY);
}

void ShowOnWindow(Window& window, const Surface& picture) {
  Surface* context = GetDC(window);
  CopyWhole(*context, picture);
  ReleaseDC(window, context);
}

// A paragraph as it was read; a choice marked as one taken.
std::string Shown(const ReadHistory& history, std::uint64_t number) {
  if (!history.IsChoice(number)) return history.At(number);
  return texts::CHOICE_TAKEN_MARK + history.At(number);
}

// The height of a paragraph wrapped to the backlog's width.
int ParagraphHeight(const Font* font, const std::string& text) {
  Surface measure;
  measure.font = font;
  RECT rect{BACKLOG_LEFT, 0, BACKLOG_RIGHT, MEASURE_HEIGHT};
  return DrawTextA(measure, text.data(), static_cast<int>(text.size()), &rect, DT_WORDBREAK);
}

// A paragraph in its place, in its colour.
void DrawParagraph(Surface& canvas, const ReadHistory& history, std::uint64_t number,
                   const std::string& text, RECT place) {
  SetTextColor(canvas, history.IsChoice(number) ? CHOICE_COLOUR : PARAGRAPH_COLOUR);
  DrawTextA(canvas, text.data(), static_cast<int>(text.size()), &place, DT_WORDBREAK);
}

// Upwards from the lowest paragraph until the window's top is passed.
void LayOutUpwards(Reader& r, Surface& canvas) {
  BacklogView& view = r.aids.backlog;
  const ReadHistory& history = r.aids.history;
  view.shown = 0;
  int bottom = BACKLOG_BOTTOM;
  for (std::uint64_t number = view.bottom + 1; number-- > history.first() && bottom > 0;) {
    const std::string text = Shown(history, number);
    const int top = bottom - ParagraphHeight(r.state.FontNormal.get(), text);
    DrawParagraph(canvas, history, number, text, {BACKLOG_LEFT, top, BACKLOG_RIGHT, bottom});
    if (top >= 0) ++view.shown;
    bottom = top - PARAGRAPH_GAP;
  }
}

// Downwards from the paragraph at the top until the window's bottom is passed.
void LayOutDownwards(Reader& r, Surface& canvas) {
  BacklogView& view = r.aids.backlog;
  const ReadHistory& history = r.aids.history;
  view.shown = static_cast<int>(view.bottom - *view.top + 1);
  int top = BACKLOG_TOP;
  for (std::uint64_t number = *view.top; number <= history.newest() && top < CLIENT_HEIGHT;
       ++number) {
    const std::string text = Shown(history, number);
    const int bottom = top + ParagraphHeight(r.state.FontNormal.get(), text);
    DrawParagraph(canvas, history, number, text, {BACKLOG_LEFT, top, BACKLOG_RIGHT, bottom});
    top = bottom + PARAGRAPH_GAP;
  }
}

}  // namespace

void KeepPageUnderBacklog(Reader& r, Window& window) {
  BacklogView& view = r.aids.backlog;
  Surface* context = GetDC(window);
  view.page_under = WindowSizedPicture(*context);
  view.backdrop = WindowSizedPicture(*context);
  view.canvas = WindowSizedPicture(*context);
  CopyWhole(*view.page_under.surface, *context);
  ReleaseDC(window, context);
  // The background half of the page: the picture without the text over it, and the
  // page's label.
  BitBlt(*view.backdrop.surface, 0, 0, CLIENT_WIDTH, CLIENT_HEIGHT, *r.state.PageSurface, 0,
         CLIENT_HEIGHT, SRCCOPY);
  CopyPageLabel(r.state, *view.backdrop.surface);
  ShadeRect(*view.backdrop.surface, WHOLE_WINDOW, PAGE_SHADE_256THS);
}

void DrawBacklog(Reader& r, Window& window) {
  BacklogView& view = r.aids.backlog;
  Surface& canvas = *view.canvas.surface;
  CopyWhole(canvas, *view.backdrop.surface);
  SelectObject(canvas, r.state.FontNormal.get());
  SetBkMode(canvas, TRANSPARENT);
  if (view.top) {
    LayOutDownwards(r, canvas);
  } else {
    LayOutUpwards(r, canvas);
  }
  ShowOnWindow(window, canvas);
}

std::uint64_t LowestInSightFrom(Reader& r, std::uint64_t top) {
  const ReadHistory& history = r.aids.history;
  std::uint64_t lowest = top;
  int bottom = BACKLOG_TOP - PARAGRAPH_GAP;
  for (std::uint64_t number = top; number <= history.newest(); ++number) {
    bottom += PARAGRAPH_GAP + ParagraphHeight(r.state.FontNormal.get(), Shown(history, number));
    if (bottom > BACKLOG_BOTTOM && number > top) break;
    lowest = number;
  }
  return lowest;
}

void ShowBacklog(Reader& r, Surface& device_context) {
  CopyWhole(device_context, *r.aids.backlog.canvas.surface);
}

void RestorePageUnderBacklog(Reader& r, Window& window) {
  BacklogView& view = r.aids.backlog;
  ShowOnWindow(window, *view.page_under.surface);
  view.page_under = {};
  view.backdrop = {};
  view.canvas = {};
}
