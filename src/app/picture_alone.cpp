// The picture without its text.
#include "app/picture_alone.h"

#include "app/hold_skip.h"
#include "app/strip_note.h"
#include "platform/window/message_queue.h"
#include "platform/window/virtual_keys.h"
#include "reader/reader.h"
#include "render/surfaces.h"
#include "script/text_layout.h"

namespace {

// The lower half of the page surface: the page's background, kept clean of text, with
// the label of the page shown.
void ShowBackground(Reader& r, Window& window) {
  Surface* context = GetDC(window);
  BitBlt(*context, 0, 0, PAGE_WIDTH, PAGE_HEIGHT, *r.state.PageSurface, 0, PAGE_HEIGHT, SRCCOPY);
  CopyPageLabel(r.state, *context);
  ReleaseDC(window, context);
}

void ShowPage(Reader& r, Window& window) {
  r.aids.text_hidden_by = 0;
  Surface* context = GetDC(window);
  PresentPage(r, context);
  ReleaseDC(window, context);
}

bool Releases(Reader& r, UINT message, WPARAM wparam) {
  const WPARAM held = r.aids.text_hidden_by;
  if (message == WM_MBUTTONUP) return held == VK_MBUTTON;
  return (message == WM_KEYUP || message == WM_SYSKEYUP) && wparam == held;
}

}  // namespace

bool IsPictureAloneKey(WPARAM key) { return key == 'H'; }

void ShowPictureAlone(Reader& r, Window& window, WPARAM held) {
  if (r.aids.text_hidden_by != 0) return;
  HideNote(r, window);
  r.aids.text_hidden_by = held;
  ShowBackground(r, window);
}

std::optional<LRESULT> OnPictureAloneMessage(Reader& r, Window& window, UINT message, WPARAM wparam,
                                             LPARAM) {
  if (Releases(r, message, wparam)) {
    ShowPage(r, window);
    return 0;
  }
  switch (message) {
    case WM_PAINT:
      BeginPaint(window);
      EndPaint(window);
      ShowBackground(r, window);
      return 0;
    // The reader looks at the picture: presses, moves and the wheel do nothing.
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEWHEEL:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return 0;
    // Other keys' releases go on: Ctrl let go ends its skip.
    case WM_KEYUP:
    case WM_SYSKEYUP: return std::nullopt;
    // Steps that would draw over the picture wait; a hold of Ctrl started before skips nothing.
    case WM_TIMER:
      if (wparam == TIMER_HOLD_SKIP) KillTimer(window, TIMER_HOLD_SKIP);
      if (wparam == TIMER_SKIP || wparam == TIMER_AUTO || wparam == TIMER_HOLD_SKIP) return 0;
      return std::nullopt;
    default: ShowPage(r, window); return std::nullopt;
  }
}
