// The headless backend.
#include "platform/headless/headless_backend.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/gdi/png_file.h"
#include "platform/log_text.h"
#include "platform/platform.h"
#include "platform/window/menu.h"
#include "platform/window/virtual_keys.h"

namespace {

constexpr DEVMODEA DESKTOP_MODE{32, 1024, 768, 60};
constexpr DEVMODEA PAGE_MODE{32, 640, 480, 60};
// How long "feed clients N" waits for the clients to come or go.
constexpr std::chrono::seconds FEED_CLIENTS_WAIT{10};
// How long "await FILE" waits for the file, looking every few milliseconds.
constexpr std::chrono::seconds FILE_WAIT{10};
constexpr std::chrono::milliseconds FILE_POLL{5};

void PostInput(Window& window, UINT message, WPARAM wparam, LPARAM lparam) {
  PostMessageA(window, message, wparam, lparam);
}

// A key message as the window system sends it: held Alt turns it into a system key,
// a press of a key that is down already is a repeat.
void PostKey(Window& window, bool down, WPARAM key, bool alt, bool repeat = false) {
  const UINT message = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  const DWORD flags = (alt ? KF_ALTDOWN : 0u) | (repeat ? KF_REPEAT : 0u);
  PostInput(window, message, key, static_cast<LPARAM>(flags << 16));
}

}  // namespace

HeadlessBackend::HeadlessBackend(std::vector<HeadlessEvent> events, std::ostream& log, Hooks hooks)
    : events_(std::move(events)),
      log_(log),
      hooks_(std::move(hooks)),
      current_mode_(DESKTOP_MODE) {}

void HeadlessBackend::Record(std::string_view record) {
  log_ << '@' << now_ms_ << ' ' << record << '\n';
}

bool HeadlessBackend::PointerPosition(POINT* client_point) {
  *client_point = POINT{pointer_x_, pointer_y_};
  return true;
}

void HeadlessBackend::SetClipboardText(std::string_view text_utf8) {
  std::string record = "clipboard " + std::string(text_utf8);
  // One record, one line.
  for (char& c : record) {
    if (static_cast<unsigned char>(c) < ' ') c = ' ';
  }
  Record(record);
}

// Modifiers go down before the key and come up after it.
void HeadlessBackend::PressKey(Window& window, const HeadlessEvent& event) {
  const auto key = static_cast<WPARAM>(event.value);
  if (event.shift) PostKey(window, true, VK_SHIFT, false);
  if (event.ctrl) PostKey(window, true, VK_CONTROL, false);
  if (event.alt) PostKey(window, true, VK_MENU, true);
  PostKey(window, true, key, event.alt);
  PostKey(window, false, key, event.alt);
  if (event.alt) PostKey(window, false, VK_MENU, false);
  if (event.ctrl) PostKey(window, false, VK_CONTROL, false);
  if (event.shift) PostKey(window, false, VK_SHIFT, false);
}

void HeadlessBackend::Warn(std::string_view text_utf8) {
  Record("warning " + std::string(text_utf8));
  if (errors_ != nullptr) {
    *errors_ << "yomu: " << text_utf8 << '\n';
  } else {
    std::fprintf(stderr, "yomu: %.*s\n", static_cast<int>(text_utf8.size()), text_utf8.data());
  }
}

void HeadlessBackend::ShowMessage(Platform&, std::string_view text_utf8) {
  Record("message " + OneLogLine(text_utf8));
}

std::vector<DEVMODEA> HeadlessBackend::DisplayModes() { return {DESKTOP_MODE, PAGE_MODE}; }

long HeadlessBackend::ChangeDisplayMode(const DEVMODEA* mode) {
  if (mode == nullptr) {
    Record("display restore");
    current_mode_ = DESKTOP_MODE;
  } else {
    Record("display change " + std::to_string(mode->dmPelsWidth) + "x" +
           std::to_string(mode->dmPelsHeight));
    current_mode_ = *mode;
  }
  return DISP_CHANGE_SUCCESSFUL;
}

// A "wait" in progress: the clock runs to the next timer or to the wait's end.
bool HeadlessBackend::PassTime(std::optional<std::uint64_t> deadline_ms) {
  const std::uint64_t until = *wait_until_ms_;
  if (deadline_ms && *deadline_ms < until) {
    now_ms_ = std::max(now_ms_, *deadline_ms);
  } else {
    now_ms_ = std::max(now_ms_, until);
  }
  if (now_ms_ >= until) wait_until_ms_.reset();
  return true;
}

void HeadlessBackend::NoteFeedClients() {
  const TextFeed* feed = hooks_.feed ? hooks_.feed() : nullptr;
  const int clients = feed != nullptr ? feed->clients() : feed_clients_;
  if (clients == feed_clients_) return;
  feed_clients_ = clients;
  Record("feed clients " + std::to_string(clients));
}

void HeadlessBackend::AwaitFeedClients(const HeadlessEvent& event) {
  const TextFeed* feed = hooks_.feed ? hooks_.feed() : nullptr;
  const std::string line = "line " + std::to_string(event.line_number) + ": feed clients " +
                           std::to_string(event.value) + ": ";
  if (feed == nullptr) {
    error_ = line + "the run has no text feed";
  } else if (!feed->AwaitClients(static_cast<int>(event.value), FEED_CLIENTS_WAIT)) {
    error_ = line + std::to_string(feed->clients()) + " after " +
             std::to_string(FEED_CLIENTS_WAIT.count()) + " s";
  }
  NoteFeedClients();
}

// Another program (a second reader of the novel, say) makes the file when it is done.
void HeadlessBackend::AwaitFile(const HeadlessEvent& event) {
  const auto deadline = std::chrono::steady_clock::now() + FILE_WAIT;
  while (access(event.file.c_str(), F_OK) != 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      error_ = "line " + std::to_string(event.line_number) + ": await " + event.file +
               ": no such file after " + std::to_string(FILE_WAIT.count()) + " s";
      return;
    }
    std::this_thread::sleep_for(FILE_POLL);
  }
}

bool HeadlessBackend::WaitForInput(Platform& platform, std::optional<std::uint64_t> deadline_ms) {
  NoteFeedClients();
  if (!error_.empty()) return false;
  for (;;) {
    if (wait_until_ms_) return PassTime(deadline_ms);
    if (next_event_ >= events_.size()) break;
    if (Perform(platform, events_[next_event_++])) return true;
    if (!error_.empty()) return false;
  }
  // The events ran out: the window closes as its close button would close it.
  if (close_sent_ || !platform.window) return false;
  close_sent_ = true;
  PostInput(*platform.window, WM_CLOSE, 0, 0);
  return true;
}

bool HeadlessBackend::Perform(Platform& platform, const HeadlessEvent& event) {
  using Kind = HeadlessEvent::Kind;
  if (!platform.window) return false;
  Window& window = *platform.window;
  const LPARAM position = MAKELPARAM(event.x, event.y);
  if (event.kind == Kind::Click || event.kind == Kind::RightClick || event.kind == Kind::Move) {
    pointer_x_ = event.x;
    pointer_y_ = event.y;
  }
  switch (event.kind) {
    case Kind::Click:
      PostInput(window, WM_LBUTTONDOWN, MK_LBUTTON, position);
      PostInput(window, WM_LBUTTONUP, 0, position);
      return true;
    case Kind::RightClick:
      PostInput(window, WM_RBUTTONDOWN, MK_RBUTTON, position);
      PostInput(window, WM_RBUTTONUP, 0, position);
      return true;
    case Kind::Move: PostInput(window, WM_MOUSEMOVE, 0, position); return true;
    case Kind::Command:
      PostInput(window, WM_COMMAND, static_cast<WPARAM>(event.value), 0);
      return true;
    case Kind::Key: PressKey(window, event); return true;
    case Kind::KeyDown:
    case Kind::KeyUp: {
      const auto key = static_cast<WPARAM>(event.value);
      const bool down = event.kind == Kind::KeyDown;
      PostKey(window, down, key, false, down && keys_down_.count(key) != 0);
      if (down) {
        keys_down_.insert(key);
      } else {
        keys_down_.erase(key);
      }
      return true;
    }
    case Kind::Wheel: {
      // Positive notches turn towards the reader, which the window system counts negative.
      POINT screen{pointer_x_, pointer_y_};
      ClientToScreen(window, &screen);
      const int delta = static_cast<int>(-event.value) * WHEEL_DELTA;
      PostInput(window, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(screen.x, screen.y));
      return true;
    }
    case Kind::Close: PostInput(window, WM_CLOSE, 0, 0); return true;
    case Kind::Wait:
      wait_until_ms_ = now_ms_ + static_cast<std::uint64_t>(event.value);
      return false;
    case Kind::Screenshot: WritePicture(&window.client_pixels(), event); return false;
    case Kind::Surface:
      WritePicture(hooks_.page_surface ? hooks_.page_surface() : nullptr, event);
      return false;
    case Kind::State:
      if (hooks_.write_state) hooks_.write_state(now_ms_, log_);
      return false;
    case Kind::Pick:
      error_ = "line " + std::to_string(event.line_number) + ": pick: no menu is open";
      return false;
    case Kind::Await: AwaitFile(event); return false;
    case Kind::FeedClients: AwaitFeedClients(event); return false;
  }
  return false;
}

// The menu is answered by the event that follows the one that opened it.
std::optional<UINT> HeadlessBackend::TrackMenu(Platform&, const Menu& menu, int, int) {
  if (next_event_ >= events_.size() || events_[next_event_].kind != HeadlessEvent::Kind::Pick)
    return std::nullopt;
  const HeadlessEvent& pick = events_[next_event_++];
  if (pick.pick_none) return std::nullopt;
  bool found = false;
  ForEachMenuItem(menu, [&](int, const MenuItem& item) {
    found = found ||
            (item.kind == MenuItem::Kind::Command && item.command == static_cast<UINT>(pick.value));
  });
  if (!found) {
    error_ = "line " + std::to_string(pick.line_number) + ": pick " + std::to_string(pick.value) +
             ": the open menu has no such item";
    return std::nullopt;
  }
  return static_cast<UINT>(pick.value);
}

bool HeadlessBackend::WritePicture(const Bitmap* bitmap, const HeadlessEvent& event) {
  if (bitmap != nullptr && WritePng(*bitmap, event.file)) return true;
  error_ = "line " + std::to_string(event.line_number) + ": cannot write " + event.file;
  return false;
}
