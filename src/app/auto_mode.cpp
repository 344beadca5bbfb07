// Auto mode.
#include "app/auto_mode.h"

#include <algorithm>

#include "platform/shift_jis.h"
#include "reader/reader.h"
#include "render/status_strip.h"
#include "script/interpreter.h"

namespace {

// A cooldown still runs: the step waits for it.
constexpr UINT AUTO_RETRY_MS = 50;

// Armed when a paragraph has appeared, after its fade: the wait is the newest one's.
void Arm(Reader& r, Window& window) {
  const ReadHistory& history = r.aids.history;
  const std::string_view newest =
      history.empty() ? std::string_view() : history.At(history.newest());
  SetTimer(window, TIMER_AUTO, AutoWaitMs(r.aids.auto_mode.delay_ms, newest));
}

bool Stopped(const ReaderState& s) { return s.Mode == ModeChoosing || s.Mode == ModeFinished; }

void StartAutoMode(Reader& r, Window& window) {
  if (Stopped(r.state)) return;
  r.aids.auto_mode.on = true;
  r.platform.backend.Record("auto on");
  ShowAutoIndicator(r, window);
  Arm(r, window);
}

}  // namespace

std::uint32_t AutoWaitMs(std::uint32_t delay_ms, std::string_view paragraph_sjis) {
  std::uint64_t wide = 0;
  for (std::size_t pos = 0; pos < paragraph_sjis.size();) {
    const std::size_t length = ShiftJisWholeCharacterLength(paragraph_sjis, pos);
    if (length == 2) ++wide;
    pos += length;
  }
  const std::uint64_t wait = delay_ms + wide * AUTO_MS_PER_WIDE_CHARACTER;
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(wait, UINT32_MAX));
}

void ToggleAutoMode(Reader& r, Window& window) {
  if (r.aids.auto_mode.on) {
    StopAutoMode(r, window);
  } else {
    StartAutoMode(r, window);
  }
}

void StopAutoMode(Reader& r, Window& window) {
  if (!r.aids.auto_mode.on) return;
  r.aids.auto_mode.on = false;
  r.platform.backend.Record("auto off");
  KillTimer(window, TIMER_AUTO);
  ClearAutoIndicator(r, window);
}

void OnAutoTick(Reader& r, Window& window) {
  ReaderState& s = r.state;
  if (!r.aids.auto_mode.on) {
    KillTimer(window, TIMER_AUTO);
    return;
  }
  if (s.Mode == ModeCooldown) {
    SetTimer(window, TIMER_AUTO, AUTO_RETRY_MS);
    return;
  }
  if (s.Mode == ModeReady) RunScript(r, window);
  if (Stopped(s)) {
    StopAutoMode(r, window);
    return;
  }
  // A picture may have covered the strip since.
  ShowAutoIndicator(r, window);
  Arm(r, window);
}
