// The status strip: the skip, auto and speech indicators and the note, and their clearing.
#include "render/status_strip.h"

#include <algorithm>

#include "platform/gdi/text.h"
#include "reader/reader.h"
#include "reader/texts.h"
#include "render/surfaces.h"

namespace {

constexpr int STRIP_TOP = 460;
constexpr int STRIP_HEIGHT = 20;
constexpr int BACKGROUND_STRIP_TOP = PAGE_HEIGHT + STRIP_TOP;
// The plate reaches this far beyond the text on each side, and the text stands this
// far below the strip's top, so that it sits in the middle of the strip's rows.
constexpr int PLATE_MARGIN = 3;
constexpr int TEXT_DROP = (STRIP_HEIGHT - STRIP_FONT_HEIGHT) / 2;
// A solid plate: a picture's hatch or its light parts never show through the text.
constexpr COLORREF PLATE_COLOUR = RGB(0, 0, 0);
constexpr COLORREF INDICATOR_COLOUR = RGB(0, 255, 0);

// Strip drawing inside a run uses the run's device context; outside one, a context
// taken for the drawing.
Surface* WindowContext(Reader& r, Window& window) {
  return r.state.WindowDC != nullptr ? r.state.WindowDC : GetDC(window);
}
void GiveBack(Reader& r, Window& window, Surface* context) {
  if (context != r.state.WindowDC) ReleaseDC(window, context);
}

// The reader's indicators, each composed in a part of the status surface that nothing
// else uses. Auto mode's and speech's lie left of the columns that the skip indicator's
// clearing restores; the note right of the skip indicator.
struct StripBox {
  int left;
  int width;
  int backdrop_left;
  int backdrop_top;
};
constexpr StripBox SKIP_BOX{240, 200, 0, 0};
constexpr StripBox AUTO_BOX{20, 100, 0, 20};
constexpr StripBox SPEECH_BOX{120, 100, 100, 20};
constexpr StripBox NOTE_BOX{480, 160, 0, 40};
// What the skip indicator's clearing restores: the strip from its left end on.
constexpr int CLEARED_LEFT = 220;

// A box of the status strip shown on the window and kept on the page.
void PutOnStrip(Reader& r, Window& window, int left, int width, const Surface& source, int source_x,
                int source_y) {
  Surface* context = WindowContext(r, window);
  BitBlt(*context, left, STRIP_TOP, width, STRIP_HEIGHT, source, source_x, source_y, SRCCOPY);
  GiveBack(r, window, context);
  BitBlt(*r.state.PageSurface, left, STRIP_TOP, width, STRIP_HEIGHT, source, source_x, source_y,
         SRCCOPY);
}

// The text on its plate, the rest of the box the background's own strip.
void ComposeInBox(ReaderState& s, const StripBox& box, std::string_view text_sjis) {
  Surface& status = *s.StatusSurface;
  const int x = box.backdrop_left, y = box.backdrop_top;
  BitBlt(status, x, y, box.width, STRIP_HEIGHT, *s.PageSurface, box.left, BACKGROUND_STRIP_TOP,
         SRCCOPY);
  const auto length = static_cast<int>(text_sjis.size());
  const int text_width = TextWidth(*s.FontStrip, text_sjis.data(), length);
  const Brush plate{PLATE_COLOUR};
  const Brush* brush = SelectObject(status, &plate);
  PatBlt(status, x, y, std::min(text_width + 2 * PLATE_MARGIN, box.width), STRIP_HEIGHT, PATCOPY);
  SelectObject(status, brush);
  const Font* font = SelectObject(status, static_cast<const Font*>(s.FontStrip.get()));
  SetTextColor(status, INDICATOR_COLOUR);
  TextOutA(status, x + PLATE_MARGIN, y + TEXT_DROP, text_sjis.data(), length);
  // The page label, drawn on the same surface, keeps its font and its white.
  SetTextColor(status, RGB(255, 255, 255));
  SelectObject(status, font);
}

void ShowInBox(Reader& r, Window& window, const StripBox& box, std::string_view text_sjis) {
  ComposeInBox(r.state, box, text_sjis);
  PutOnStrip(r, window, box.left, box.width, *r.state.StatusSurface, box.backdrop_left,
             box.backdrop_top);
}

void ClearBox(Reader& r, Window& window, const StripBox& box) {
  PutOnStrip(r, window, box.left, box.width, *r.state.PageSurface, box.left, BACKGROUND_STRIP_TOP);
}

}  // namespace

void ShowSkipIndicator(Reader& r, Window& window) {
  ShowInBox(r, window, SKIP_BOX, texts::SKIP_INDICATOR);
}

void ClearStatusStrip(Reader& r, Window& window) {
  PutOnStrip(r, window, CLEARED_LEFT, PAGE_WIDTH - CLEARED_LEFT, *r.state.PageSurface, CLEARED_LEFT,
             BACKGROUND_STRIP_TOP);
}

void ShowAutoIndicator(Reader& r, Window& window) {
  ShowInBox(r, window, AUTO_BOX, texts::AUTO_INDICATOR);
}

void ClearAutoIndicator(Reader& r, Window& window) { ClearBox(r, window, AUTO_BOX); }

void ShowSpeechIndicator(Reader& r, Window& window) {
  ShowInBox(r, window, SPEECH_BOX, texts::SPEECH_INDICATOR);
}

void ClearSpeechIndicator(Reader& r, Window& window) { ClearBox(r, window, SPEECH_BOX); }

void ShowStripNote(Reader& r, Window& window, std::string_view text_sjis) {
  ShowInBox(r, window, NOTE_BOX, text_sjis);
}

void ClearStripNote(Reader& r, Window& window) { ClearBox(r, window, NOTE_BOX); }
