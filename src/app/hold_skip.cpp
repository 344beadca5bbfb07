// Skipping while a key is held.
#include "app/hold_skip.h"

#include "app/skip_mode.h"
#include "platform/calls/message_calls.h"
#include "platform/window/message_queue.h"
#include "platform/window/virtual_keys.h"
#include "reader/reader.h"
#include "script/interpreter.h"

namespace {

// Long enough for the C of Ctrl+C to come first, short enough to feel at once.
constexpr UINT HOLD_BEFORE_SKIP_MS = 300;

bool Held(Reader& r, WPARAM key) { return GetKeyState(r.platform, static_cast<int>(key)) < 0; }

// A paragraph not read before has appeared since the skip started or last stepped
// (a choice taken on the way runs the script too): the skip ends there.
bool StoppedAtUnread(Reader& r, Window& window) {
  HeldSkip& held = r.aids.held_skip;
  if (r.aids.read_marks.unread_seen() == held.unread_seen) return false;
  held.running = false;
  r.platform.backend.Record("skip stop unread");
  if (r.state.SkipMode == 1) StopSkipMode(r, window);
  return true;
}

}  // namespace

bool IsSkipKey(WPARAM key) { return key == VK_CONTROL || key == VK_GAMEPAD_RIGHT_SHOULDER; }

void OnSkipKeyDown(Reader& r, Window& window, WPARAM key) {
  r.aids.held_skip.key = key;
  SetTimer(window, TIMER_HOLD_SKIP, HOLD_BEFORE_SKIP_MS);
}

void CancelHoldSkip(Reader& r, Window& window) {
  if (r.platform.queue.TimerRunning(TIMER_HOLD_SKIP)) KillTimer(window, TIMER_HOLD_SKIP);
}

void OnHoldSkipTick(Reader& r, Window& window) {
  KillTimer(window, TIMER_HOLD_SKIP);
  HeldSkip& held = r.aids.held_skip;
  if (!Held(r, held.key)) return;
  held.running = true;
  held.read_only = held.key != VK_CONTROL || !Held(r, VK_SHIFT);
  held.unread_seen = r.aids.read_marks.unread_seen();
  PostMessageA(window, WM_COMMAND, IDM_SKIP, 0);
}

void OnSkipKeyUp(Reader& r, Window& window, WPARAM key) {
  HeldSkip& held = r.aids.held_skip;
  if (key != held.key) return;
  CancelHoldSkip(r, window);
  if (!held.running) return;
  held.running = false;
  // A click in the meantime has stopped it already.
  if (r.state.SkipMode == 1) StopSkipMode(r, window);
}

void OnSkipTick(Reader& r, Window& window) {
  HeldSkip& held = r.aids.held_skip;
  const bool read_only = held.running && held.read_only;
  if (read_only && StoppedAtUnread(r, window)) return;
  if (r.state.Mode == ModeReady) RunScript(r, window);
  if (read_only) StoppedAtUnread(r, window);
}
