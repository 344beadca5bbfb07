// The message queue of the window's thread, in Win32's order: sent messages run at
// once; posted and input messages in order; WM_PAINT when the window is invalid
// and nothing else waits; WM_TIMER last, with at most one waiting tick per timer.
#pragma once

#include <bitset>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>

#include "platform/win32_types.h"

class Window;

struct MSG {
  Window* hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

class MessageQueue {
 public:
  void Post(const MSG& message) { posted_.push_back(message); }
  void PostQuit(int exit_code) { quit_code_ = exit_code; }
  bool quit_posted() const { return quit_code_.has_value(); }

  // Starting a running timer starts it afresh with the new interval.
  void SetTimer(Window* window, UINT id, UINT interval_ms, std::uint64_t now_ms);
  bool KillTimer(UINT id);
  bool TimerRunning(UINT id) const { return timers_.count(id) != 0; }

  // The next message that waits at now_ms, in Win32's order.
  std::optional<MSG> Take(Window* window, std::uint64_t now_ms);
  // Input has been looked for: every timer may tick again. Between two looks a
  // timer ticks once at most, so a timer that work keeps due never starves input.
  void InputChecked() { ticked_since_input_.clear(); }
  // When the earliest timer falls due; nullopt when none runs.
  std::optional<std::uint64_t> NextTimerDue() const;
  // The reader's work put off until its page is out, as the media player's is: it
  // runs with the media player's, once; a later one takes its place.
  void PutOffForPage(std::function<void()> work) { page_work_ = std::move(work); }
  // The reader's put-off work, handed over to run; empty when none waits.
  std::function<void()> TakePageWork() { return std::exchange(page_work_, nullptr); }
  bool PageWorkWaits() const { return page_work_ != nullptr; }
  // When the work put off for the page may start: a moment after the loop first
  // waited with it. Forgotten when none waits.
  std::uint64_t PutOffWorkDue(std::uint64_t now_ms);
  void PutOffWorkDone() { put_off_work_due_ms_.reset(); }
  // Whether a key is down, as the key messages taken so far tell.
  bool KeyHeld(WPARAM key) const { return key < keys_held_.size() && keys_held_[key]; }

 private:
  struct Timer {
    Window* window;
    UINT interval_ms;
    std::uint64_t due_ms;
  };
  std::deque<MSG> posted_;
  std::map<UINT, Timer> timers_;
  std::set<UINT> ticked_since_input_;
  std::optional<int> quit_code_;
  std::optional<std::uint64_t> put_off_work_due_ms_;
  std::function<void()> page_work_;
  std::bitset<256> keys_held_;

  // Follows the keys held, as GetKeyState reports them.
  void NoteKey(const MSG& message);
};

bool TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
bool PostMessageA(Window& window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT SendMessageA(Window& window, UINT message, WPARAM wparam, LPARAM lparam);
bool SendNotifyMessageA(Window& window, UINT message, WPARAM wparam, LPARAM lparam);
UINT SetTimer(Window& window, UINT id, UINT interval_ms);
bool KillTimer(Window& window, UINT id);
