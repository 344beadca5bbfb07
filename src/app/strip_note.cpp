// The status strip's note and its timer.
#include "app/strip_note.h"

#include "platform/window/message_queue.h"
#include "reader/reader.h"
#include "render/status_strip.h"

void ShowNoteForAMoment(Reader& r, Window& window, std::string_view text_sjis, UINT shown_ms) {
  ShowStripNote(r, window, text_sjis);
  SetTimer(window, TIMER_STRIP_NOTE, shown_ms);
}

void HideNote(Reader& r, Window& window) {
  if (r.platform.queue.TimerRunning(TIMER_STRIP_NOTE)) OnStripNoteTick(r, window);
}

void OnStripNoteTick(Reader& r, Window& window) {
  KillTimer(window, TIMER_STRIP_NOTE);
  ClearStripNote(r, window);
}
