// The backlog over the page, and what the window's messages do while it is open.
#include "app/backlog.h"

#include <algorithm>

#include "app/backlog_view.h"
#include "app/hold_skip.h"
#include "app/paragraph_copy.h"
#include "app/strip_note.h"
#include "platform/window/message_queue.h"
#include "platform/window/virtual_keys.h"
#include "reader/reader.h"

namespace {

// Page Up's scroll: the paragraph at the top goes to the bottom, kept in sight.
std::int64_t PageOfParagraphs(const BacklogView& view) { return std::max(1, view.shown - 1); }

// The paragraphs laid out upwards from the one at the bottom.
void ScrollTo(Reader& r, Window& window, std::uint64_t bottom) {
  BacklogView& view = r.aids.backlog;
  if (bottom == view.bottom && !view.top) return;
  view.bottom = bottom;
  view.top.reset();
  DrawBacklog(r, window);
}

// A page-full laid out downwards from the paragraph at the top.
void ShowPageFrom(Reader& r, Window& window, std::uint64_t top) {
  BacklogView& view = r.aids.backlog;
  if (view.top == top) return;
  view.top = top;
  view.bottom = LowestInSightFrom(r, top);
  DrawBacklog(r, window);
}

// The lowest paragraph goes to the top, with a page-full below it; the newest page-full
// stands at the bottom, as the backlog opens, and past it the backlog closes.
void PageDown(Reader& r, Window& window) {
  const std::uint64_t bottom = r.aids.backlog.bottom, newest = r.aids.history.newest();
  if (bottom == newest) {
    CloseBacklog(r, window);
  } else if (LowestInSightFrom(r, bottom) == newest) {
    ScrollTo(r, window, newest);
  } else {
    ShowPageFrom(r, window, bottom);
  }
}

// A held key scrolls on, but does not close the backlog under the reader's finger.
void OnBacklogKey(Reader& r, Window& window, WPARAM key, bool repeat) {
  const BacklogView& view = r.aids.backlog;
  const bool at_newest = view.bottom == r.aids.history.newest();
  switch (key) {
    case VK_UP: ScrollBacklog(r, window, -1); return;
    case VK_PRIOR: ScrollBacklog(r, window, -PageOfParagraphs(view)); return;
    case VK_HOME: ShowPageFrom(r, window, r.aids.history.first()); return;
    case VK_END: ScrollTo(r, window, r.aids.history.newest()); return;
    case VK_DOWN:
      if (!(repeat && at_newest)) ScrollBacklog(r, window, 1);
      return;
    case VK_NEXT:
      if (!(repeat && at_newest)) PageDown(r, window);
      return;
    default: break;
  }
  if (repeat) return;
  if (key == VK_ESCAPE || key == VK_RETURN || key == VK_SPACE || key == VK_BACK) {
    CloseBacklog(r, window);
  } else if (key == 'C') {
    CopyParagraph(r, view.bottom);
  }
}

void OnBacklogWheel(Reader& r, Window& window, WPARAM wparam) {
  // Away from the reader, back in time.
  ScrollBacklog(r, window, -(GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA));
}

void OnBacklogPaint(Reader& r, Window& window) {
  ShowBacklog(r, *BeginPaint(window));
  EndPaint(window);
}

// Steps that would draw over the backlog wait until it closes; their timers run on.
// Ctrl held before it opened skips nothing.
std::optional<LRESULT> OnBacklogTimer(Window& window, UINT timer) {
  if (timer == TIMER_SKIP || timer == TIMER_AUTO) return 0;
  if (timer != TIMER_HOLD_SKIP) return std::nullopt;
  KillTimer(window, TIMER_HOLD_SKIP);
  return 0;
}

}  // namespace

bool OpenBacklog(Reader& r, Window& window) {
  BacklogView& view = r.aids.backlog;
  if (view.open || r.aids.history.empty()) return false;
  // A note of the strip would be cleared over the backlog.
  HideNote(r, window);
  view.open = true;
  view.bottom = r.aids.history.newest();
  view.top.reset();
  r.platform.backend.Record("backlog open");
  KeepPageUnderBacklog(r, window);
  DrawBacklog(r, window);
  return true;
}

void CloseBacklog(Reader& r, Window& window) {
  BacklogView& view = r.aids.backlog;
  if (!view.open) return;
  view.open = false;
  r.platform.backend.Record("backlog close");
  RestorePageUnderBacklog(r, window);
}

void ScrollBacklog(Reader& r, Window& window, std::int64_t paragraphs) {
  const ReadHistory& history = r.aids.history;
  const std::uint64_t bottom = r.aids.backlog.bottom;
  if (paragraphs > 0 && bottom == history.newest()) {
    CloseBacklog(r, window);
  } else if (paragraphs > 0) {
    ScrollTo(r, window,
             std::min(history.newest(), bottom + static_cast<std::uint64_t>(paragraphs)));
  } else if (paragraphs < 0) {
    const std::uint64_t back = static_cast<std::uint64_t>(-paragraphs);
    const std::uint64_t target = bottom - std::min(back, bottom - history.first());
    // The top is the oldest page-full shown from the top, never the oldest paragraph
    // alone at the foot of an empty page. A history that fits one page scrolls on
    // paragraph by paragraph until the oldest would stand alone.
    const std::uint64_t oldest_page = LowestInSightFrom(r, history.first());
    const bool at_top =
        oldest_page < history.newest() ? target <= oldest_page : target == history.first();
    if (at_top) {
      ShowPageFrom(r, window, history.first());
    } else {
      ScrollTo(r, window, target);
    }
  }
}

std::optional<LRESULT> OnBacklogMessage(Reader& r, Window& window, UINT message, WPARAM wparam,
                                        LPARAM lparam) {
  const bool repeat = (HIWORD(static_cast<std::uintptr_t>(lparam)) & KF_REPEAT) != 0;
  switch (message) {
    case WM_PAINT: OnBacklogPaint(r, window); return 0;
    // The pointer's moves would light choices on the page beneath.
    case WM_MOUSEMOVE: return 0;
    case WM_LBUTTONDOWN: CloseBacklog(r, window); return 0;
    case WM_LBUTTONUP: return 0;
    case WM_MOUSEWHEEL: OnBacklogWheel(r, window, wparam); return 0;
    // The window system's own keys (the menu key, Shift+F10) still work.
    case WM_KEYDOWN:
      OnBacklogKey(r, window, wparam, repeat);
      return DefWindowProcA(window, message, wparam, lparam);
    case WM_KEYUP:
      OnSkipKeyUp(r, window, wparam);
      return DefWindowProcA(window, message, wparam, lparam);
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP: return DefWindowProcA(window, message, wparam, lparam);
    case WM_TIMER: return OnBacklogTimer(window, static_cast<UINT>(wparam));
    default: CloseBacklog(r, window); return std::nullopt;
  }
}
