// The status strip: the skip, auto and speech indicators and their clearing.
#include "render/status_strip.h"

#include <string_view>

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

// Auto mode's and speech's indicators: left of the columns that the skip indicator's
// clearing restores, each composed on rows of the status surface that nothing else uses.
struct Indicator {
  int left;
  int backdrop_top;
  std::string_view text_sjis;
};
constexpr int INDICATOR_WIDTH = 100;
constexpr Indicator AUTO{20, 20, texts::AUTO_INDICATOR};
constexpr Indicator SPEECH{AUTO.left + INDICATOR_WIDTH, 40, texts::SPEECH_INDICATOR};

// A box of the status strip shown on the window and kept on the page.
void PutOnStrip(Reader& r, Window& window, int left, int width, const Surface& source, int source_x,
                int source_y) {
  Surface* context = WindowContext(r, window);
  BitBlt(*context, left, 460, width, 20, source, source_x, source_y, SRCCOPY);
  GiveBack(r, window, context);
  BitBlt(*r.state.PageSurface, left, 460, width, 20, source, source_x, source_y, SRCCOPY);
}

void ShowIndicator(Reader& r, Window& window, const Indicator& indicator) {
  ReaderState& s = r.state;
  Surface& status = *s.StatusSurface;
  BitBlt(status, 0, indicator.backdrop_top, INDICATOR_WIDTH, 20, *s.PageSurface, indicator.left,
         940, SRCCOPY);
  SetTextColor(status, RGB(0, 255, 0));
  TextOutA(status, 0, indicator.backdrop_top, indicator.text_sjis.data(),
           static_cast<int>(indicator.text_sjis.size()));
  SetTextColor(status, RGB(255, 255, 255));
  PutOnStrip(r, window, indicator.left, INDICATOR_WIDTH, status, 0, indicator.backdrop_top);
}

void ClearIndicator(Reader& r, Window& window, const Indicator& indicator) {
  PutOnStrip(r, window, indicator.left, INDICATOR_WIDTH, *r.state.PageSurface, indicator.left, 940);
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

void ShowAutoIndicator(Reader& r, Window& window) { ShowIndicator(r, window, AUTO); }
void ClearAutoIndicator(Reader& r, Window& window) { ClearIndicator(r, window, AUTO); }
void ShowSpeechIndicator(Reader& r, Window& window) { ShowIndicator(r, window, SPEECH); }
void ClearSpeechIndicator(Reader& r, Window& window) { ClearIndicator(r, window, SPEECH); }
