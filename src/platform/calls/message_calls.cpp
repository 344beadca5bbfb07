// The message loop's calls.
#include "platform/calls/message_calls.h"

#include <algorithm>
#include <cstdio>

#include "platform/media/media_player.h"
#include "platform/platform.h"

namespace {

std::optional<std::uint64_t> Earlier(std::optional<std::uint64_t> a,
                                     std::optional<std::uint64_t> b) {
  if (!a || !b) return a ? a : b;
  return std::min(*a, *b);
}

}  // namespace

std::optional<std::uint64_t> LetPutOffWork(Platform& platform, bool loop_waits) {
  const bool media_waits = platform.media && platform.media->WorkWaits();
  const bool page_work_waits = loop_waits && platform.queue.PageWorkWaits();
  if (!media_waits && !page_work_waits) {
    if (loop_waits) platform.queue.PutOffWorkDone();
    return std::nullopt;
  }
  const std::uint64_t now = platform.NowMs();
  const std::uint64_t due = platform.queue.PutOffWorkDue(now);
  if (now < due) return due;
  platform.queue.PutOffWorkDone();
  if (media_waits) platform.media->ReaderWaits();
  if (page_work_waits) platform.queue.TakePageWork()();
  return std::nullopt;
}

bool PeekMessageA(Platform& platform, MSG* message) {
  std::optional<MSG> next = platform.queue.Take(platform.window.get(), platform.NowMs());
  if (!next) return false;
  *message = *next;
  return true;
}

bool GetMessageA(Platform& platform, MSG* message) {
  for (;;) {
    if (PeekMessageA(platform, message)) return message->message != WM_QUIT;
    const std::optional<std::uint64_t> put_off_due = LetPutOffWork(platform, true);
    const bool more_input = platform.backend.WaitForInput(
        platform, Earlier(platform.queue.NextTimerDue(), put_off_due));
    platform.queue.InputChecked();
    if (!more_input) {
      // Nothing can ever arrive again: end the loop as a quit would.
      *message = MSG{nullptr, WM_QUIT, 0, 0};
      return false;
    }
  }
}

void PostQuitMessage(Platform& platform, int exit_code) {
  char record[32];
  std::snprintf(record, sizeof record, "quit %d", exit_code);
  platform.backend.Record(record);
  platform.queue.PostQuit(exit_code);
}

short GetKeyState(Platform& platform, int virtual_key) {
  return platform.queue.KeyHeld(static_cast<WPARAM>(virtual_key)) ? short{-0x8000} : short{0};
}
