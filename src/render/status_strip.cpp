// The status strip: the skip, auto, speech and volume indicators and their clearing.
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

// The reader's own indicators, each composed in a part of the status surface that
// nothing else uses. Auto mode's and speech's lie left of the columns that the skip
// indicator's clearing restores; the volume's right of the skip indicator.
struct StripBox {
  int left;
  int width;
  int backdrop_left;
  int backdrop_top;
};
constexpr StripBox AUTO_BOX{20, 100, 0, 20};
constexpr StripBox SPEECH_BOX{120, 100, 100, 20};
constexpr StripBox VOLUME_BOX{480, 120, 0, 40};

// A box of the status strip shown on the window and kept on the page.
void PutOnStrip(Reader& r, Window& window, int left, int width, const Surface& source, int source_x,
                int source_y) {
  Surface* context = WindowContext(r, window);
  BitBlt(*context, left, 460, width, 20, source, source_x, source_y, SRCCOPY);
  GiveBack(r, window, context);
  BitBlt(*r.state.PageSurface, left, 460, width, 20, source, source_x, source_y, SRCCOPY);
}

// Green text over the strip's own backdrop.
void ShowInBox(Reader& r, Window& window, const StripBox& box, std::string_view text_sjis) {
  ReaderState& s = r.state;
  Surface& status = *s.StatusSurface;
  BitBlt(status, box.backdrop_left, box.backdrop_top, box.width, 20, *s.PageSurface, box.left, 940,
         SRCCOPY);
  SetTextColor(status, RGB(0, 255, 0));
  TextOutA(status, box.backdrop_left, box.backdrop_top, text_sjis.data(),
           static_cast<int>(text_sjis.size()));
  SetTextColor(status, RGB(255, 255, 255));
  PutOnStrip(r, window, box.left, box.width, status, box.backdrop_left, box.backdrop_top);
}

void ClearBox(Reader& r, Window& window, const StripBox& box) {
  PutOnStrip(r, window, box.left, box.width, *r.state.PageSurface, box.left, 940);
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
  ShowInBox(r, window, AUTO_BOX, texts::AUTO_INDICATOR);
}

void ClearAutoIndicator(Reader& r, Window& window) { ClearBox(r, window, AUTO_BOX); }

void ShowSpeechIndicator(Reader& r, Window& window) {
  ShowInBox(r, window, SPEECH_BOX, texts::SPEECH_INDICATOR);
}

void ClearSpeechIndicator(Reader& r, Window& window) { ClearBox(r, window, SPEECH_BOX); }

void ShowVolumeIndicator(Reader& r, Window& window, std::string_view text_sjis) {
  ShowInBox(r, window, VOLUME_BOX, text_sjis);
}

void ClearVolumeIndicator(Reader& r, Window& window) { ClearBox(r, window, VOLUME_BOX); }
