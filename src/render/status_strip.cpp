// The status strip: the skip indicator and the strip's clearing.
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
