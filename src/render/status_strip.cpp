// The status strip: the skip and auto indicators and their clearing.
#include "render/status_strip.h"

#include "platform/gdi/text.h"
#include "reader/reader.h"
#include "reader/texts.h"

namespace {

// Strip drawing inside a run uses the run's device context; outside one, a context
// taken for the drawing.
Surface* WindowContext(Reader& r, Window& window) {
  return r.state.WindowDC != nullptr ? r.state.WindowDC : GetDC(window);
}
void GiveBack(Reader& r, Window& window, Surface* context) {
  if (context != r.state.WindowDC) ReleaseDC(window, context);
}

// Auto mode's indicator: left of the columns that the skip indicator's clearing
// restores, composed on rows of the status surface that nothing else uses.
constexpr int AUTO_LEFT = 20;
constexpr int AUTO_WIDTH = 100;
constexpr int AUTO_BACKDROP_TOP = 20;

// A box of the status strip shown on the window and kept on the page.
void PutOnStrip(Reader& r, Window& window, int left, int width, const Surface& source, int source_x,
                int source_y) {
  Surface* context = WindowContext(r, window);
  BitBlt(*context, left, 460, width, 20, source, source_x, source_y, SRCCOPY);
  GiveBack(r, window, context);
  BitBlt(*r.state.PageSurface, left, 460, width, 20, source, source_x, source_y, SRCCOPY);
}

}  // namespace

void ShowSkipIndicator(Reader& r, Window& window) {
  ReaderState& s = r.state;
  Surface& status = *s.StatusSurface;
  SetTextColor(status, RGB(0, 255, 0));
  TextOutA(status, 0, 0, texts::SKIP_INDICATOR, 20);
  Surface* context = WindowContext(r, window);
  BitBlt(*context, 240, 460, 200, 20, status, 0, 0, SRCCOPY);
  GiveBack(r, window, context);
  BitBlt(*s.PageSurface, 240, 460, 200, 20, status, 0, 0, SRCCOPY);
  SetTextColor(status, RGB(255, 255, 255));
}

void ClearStatusStrip(Reader& r, Window& window) {
  ReaderState& s = r.state;
  Surface& page = *s.PageSurface;
  // The indicator's backdrop is renewed from the background's bottom strip.
  BitBlt(*s.StatusSurface, 0, 0, 200, 20, page, 220, 940, SRCCOPY);
  Surface* context = WindowContext(r, window);
  BitBlt(*context, 220, 460, 420, 20, page, 220, 940, SRCCOPY);
  GiveBack(r, window, context);
  BitBlt(page, 220, 460, 420, 20, page, 220, 940, SRCCOPY);
}

void ShowAutoIndicator(Reader& r, Window& window) {
  ReaderState& s = r.state;
  Surface& status = *s.StatusSurface;
  BitBlt(status, 0, AUTO_BACKDROP_TOP, AUTO_WIDTH, 20, *s.PageSurface, AUTO_LEFT, 940, SRCCOPY);
  SetTextColor(status, RGB(0, 255, 0));
  TextOutA(status, 0, AUTO_BACKDROP_TOP, texts::AUTO_INDICATOR, sizeof texts::AUTO_INDICATOR - 1);
  SetTextColor(status, RGB(255, 255, 255));
  PutOnStrip(r, window, AUTO_LEFT, AUTO_WIDTH, status, 0, AUTO_BACKDROP_TOP);
}

void ClearAutoIndicator(Reader& r, Window& window) {
  PutOnStrip(r, window, AUTO_LEFT, AUTO_WIDTH, *r.state.PageSurface, AUTO_LEFT, 940);
}
