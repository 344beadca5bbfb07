// The message queue of the window's thread, its timers and the message loop calls.
#include "platform/window/message_queue.h"

#include <algorithm>
#include <cstdio>

#include "platform/window/window.h"

namespace {

constexpr UINT USER_TIMER_MINIMUM = 10;  // the shortest interval a timer runs at
// A frame of a 60 Hz screen: the window system, and a desktop's compositor, put the
// click's page up with the processors to themselves, and a sound that starts that
// much later is not heard as late.
constexpr std::uint64_t PUT_OFF_WORK_DELAY_MS = 16;

}  // namespace

std::uint64_t MessageQueue::PutOffWorkDue(std::uint64_t now_ms) {
  if (!put_off_work_due_ms_) put_off_work_due_ms_ = now_ms + PUT_OFF_WORK_DELAY_MS;
  return *put_off_work_due_ms_;
}

void MessageQueue::SetTimer(Window* window, UINT id, UINT interval_ms, std::uint64_t now_ms) {
  const UINT interval = interval_ms < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM : interval_ms;
  timers_[id] = Timer{window, interval, now_ms + interval};
}

bool MessageQueue::KillTimer(UINT id) { return timers_.erase(id) != 0; }

std::optional<std::uint64_t> MessageQueue::NextTimerDue() const {
  std::optional<std::uint64_t> earliest;
  for (const auto& [id, timer] : timers_) {
    if (!earliest || timer.due_ms < *earliest) earliest = timer.due_ms;
  }
  return earliest;
}

void MessageQueue::NoteKey(const MSG& message) {
  const bool down = message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN;
  const bool up = message.message == WM_KEYUP || message.message == WM_SYSKEYUP;
  if ((down || up) && message.wParam < keys_held_.size()) keys_held_[message.wParam] = down;
}

std::optional<MSG> MessageQueue::Take(Window* window, std::uint64_t now_ms) {
  if (!posted_.empty()) {
    MSG message = posted_.front();
    posted_.pop_front();
    NoteKey(message);
    return message;
  }
  if (quit_code_) return MSG{nullptr, WM_QUIT, static_cast<WPARAM>(*quit_code_), 0};
  if (window && window->visible() && window->invalid() && !window->destroyed()) {
    return MSG{window, WM_PAINT, 0, 0};
  }
  // However many intervals passed, a timer has one tick waiting at most.
  Timer* due = nullptr;
  UINT due_id = 0;
  for (auto& [id, timer] : timers_) {
    if (ticked_since_input_.count(id) != 0) continue;
    if (timer.due_ms <= now_ms && (!due || timer.due_ms < due->due_ms)) {
      due = &timer;
      due_id = id;
    }
  }
  if (!due) return std::nullopt;
  due->due_ms = now_ms + due->interval_ms;
  ticked_since_input_.insert(due_id);
  return MSG{due->window, WM_TIMER, due_id, 0};
}

bool TranslateMessage(const MSG*) { return false; }

LRESULT DispatchMessageA(const MSG* message) {
  if (message->hwnd == nullptr || message->hwnd->destroyed()) return 0;
  return message->hwnd->Call(message->message, message->wParam, message->lParam);
}

bool PostMessageA(Window& window, UINT message, WPARAM wparam, LPARAM lparam) {
  window.host().message_queue().Post(MSG{&window, message, wparam, lparam});
  return true;
}

LRESULT SendMessageA(Window& window, UINT message, WPARAM wparam, LPARAM lparam) {
  return window.Call(message, wparam, lparam);
}

bool SendNotifyMessageA(Window& window, UINT message, WPARAM wparam, LPARAM lparam) {
  // A window of the calling thread: its procedure runs at once.
  window.Call(message, wparam, lparam);
  return true;
}

UINT SetTimer(Window& window, UINT id, UINT interval_ms) {
  WindowHost& host = window.host();
  char record[48];
  std::snprintf(record, sizeof record, "timer set %u %u", id, interval_ms);
  host.Record(record);
  host.message_queue().SetTimer(&window, id, interval_ms, host.NowMs());
  return id;
}

bool KillTimer(Window& window, UINT id) {
  WindowHost& host = window.host();
  char record[32];
  std::snprintf(record, sizeof record, "timer kill %u", id);
  host.Record(record);
  return host.message_queue().KillTimer(id);
}
