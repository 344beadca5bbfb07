// Skip mode: its start from the menu and its stop by a click.
#include "app/skip_mode.h"

#include "reader/reader.h"
#include "render/status_strip.h"

namespace {
constexpr unsigned SKIP_INTERVAL_MS = 50;
}  // namespace

void StartSkipMode(Reader& r, Window& window) {
  r.state.SkipMode = 1;
  ShowSkipIndicator(r, window);
  SetTimer(window, TIMER_SKIP, SKIP_INTERVAL_MS);
}

void StopSkipMode(Reader& r, Window& window) {
  r.state.SkipMode = 0;
  KillTimer(window, TIMER_SKIP);
  ClearStatusStrip(r, window);
}
