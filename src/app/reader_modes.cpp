// Clicks, mouse moves and timers.
#include "app/reader_modes.h"

#include "app/hold_skip.h"
#include "app/skip_mode.h"
#include "reader/reader.h"
#include "script/choices.h"
#include "script/interpreter.h"
#include "sound/music.h"

namespace {
constexpr UINT COOLDOWN_AFTER_STEP_MS = 50;
constexpr UINT COOLDOWN_AFTER_CHOICE_MS = 100;
}  // namespace

void OnLeftButtonDown(Reader& r, Window& window) {
  ReaderState& s = r.state;
  switch (s.Mode) {
    case ModeChoosing:
      // Taking a choice leaves skip mode running. A list that offers nothing to take
      // lets the click go on behind it.
      if (s.HoverChoice != NO_CHOICE) {
        SelectChoice(r, s.HoverChoice, window);
      } else if (!HasChoice(s)) {
        PassChoiceList(r, window);
      } else {
        return;
      }
      s.HoverChoice = NO_CHOICE;
      s.Mode = ModeCooldown;
      SetTimer(window, TIMER_COOLDOWN, COOLDOWN_AFTER_CHOICE_MS);
      return;
    case ModeReady:
      RunScript(r, window);
      if (s.Mode == ModeReady) {
        s.Mode = ModeCooldown;
        SetTimer(window, TIMER_COOLDOWN, COOLDOWN_AFTER_STEP_MS);
      }
      StopSkipMode(r, window);
      return;
    default:
      StopSkipMode(r, window);
      return;
  }
}

void OnRightButtonDown(Reader& r, Window& window) { StopSkipMode(r, window); }

void OnMouseMove(Reader& r, Window& window, int y) {
  if (r.state.Mode == ModeChoosing) TrackChoiceHover(r, window, y);
}

void OnTimer(Reader& r, Window& window, UINT timer) {
  ReaderState& s = r.state;
  switch (timer) {
    case TIMER_COOLDOWN:
      s.Mode = ModeReady;
      KillTimer(window, TIMER_COOLDOWN);
      return;
    case TIMER_SKIP:
      OnSkipTick(r, window);
      return;
    case TIMER_MIDI_LOOP:
      RestartMidi(r, window);
      return;
    case TIMER_CD_LOOP:
      RestartCdTrack(r, window);
      return;
    default:
      return;
  }
}
