// Skip mode and the status strip.
#include "app/skip_mode.h"

#include <cstring>

#include "app/reader.h"
#include "app/texts.h"
#include "platform/gdi/text.h"

namespace {

constexpr unsigned kSkipIntervalMs = 50;

// Strip drawing inside a run uses the run's device context; outside one, a context
// taken for the drawing.
Surface* WindowContext(Reader& r, Window& window) {
  return r.state.WindowDC != nullptr ? r.state.WindowDC : GetDC(window);
}
void GiveBack(Reader& r, Window& window, Surface* context) {
  if (context != r.state.WindowDC) ReleaseDC(window, context);
}

}  // namespace

void StartSkipMode(Reader& r, Window& window) {
  r.state.SkipMode = 1;
  ShowSkipIndicator(r, window);
  SetTimer(window, TIMER_SKIP, kSkipIntervalMs);
}

void StopSkipMode(Reader& r, Window& window) {
  r.state.SkipMode = 0;
  KillTimer(window, TIMER_SKIP);
  ClearStatusStrip(r, window);
}

void ShowSkipIndicator(Reader& r, Window& window) {
  ReaderState& s = r.state;
  Surface& status = *s.StatusSurface;
  SetTextColor(status, RGB(0, 255, 0));
  TextOutA(status, 0, 0, texts::kSkipIndicator, 20);
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
