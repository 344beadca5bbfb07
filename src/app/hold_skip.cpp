// Skipping while Ctrl is held.
#include "app/hold_skip.h"

#include "app/skip_mode.h"
#include "platform/window/message_queue.h"
#include "platform/window/virtual_keys.h"
#include "reader/reader.h"

namespace {
// Long enough for the C of Ctrl+C to come first, short enough to feel at once.
constexpr UINT HOLD_BEFORE_SKIP_MS = 300;
}  // namespace

void OnCtrlDown(Reader&, Window& window) { SetTimer(window, TIMER_HOLD_SKIP, HOLD_BEFORE_SKIP_MS); }

void CancelHoldSkip(Reader& r, Window& window) {
  if (r.platform.queue.TimerRunning(TIMER_HOLD_SKIP)) KillTimer(window, TIMER_HOLD_SKIP);
}

void OnHoldSkipTick(Reader& r, Window& window) {
  KillTimer(window, TIMER_HOLD_SKIP);
  if (GetKeyState(r.platform, static_cast<int>(VK_CONTROL)) >= 0) return;
  r.aids.skip_held = true;
  PostMessageA(window, WM_COMMAND, IDM_SKIP, 0);
}

void OnCtrlUp(Reader& r, Window& window) {
  CancelHoldSkip(r, window);
  if (!r.aids.skip_held) return;
  r.aids.skip_held = false;
  // A click in the meantime has stopped it already.
  if (r.state.SkipMode == 1) StopSkipMode(r, window);
}
