// What a window asks of the system it lives in: the queue and the clock of its
// thread, the log's records, the screen that shows it, and its popup menus. The
// platform is its host; a test may be one of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/win32_types.h"

class MessageQueue;
class Window;
class Menu;

class WindowHost {
 public:
  virtual MessageQueue& message_queue() = 0;
  virtual std::uint64_t NowMs() = 0;
  virtual void Record(std::string_view record) = 0;
  // Text of the novel's code page in UTF-8, for the records.
  virtual std::string ToUtf8(std::string_view text_sjis) = 0;
  virtual void ShowWindowPixels(const Window& window, const RECT& changed) = 0;
  virtual void WindowPlaced(Window& window) = 0;
  virtual void WindowCaptionChanged(const Window& window, std::string_view caption_sjis) = 0;
  // The command picked in the menu opened at (x, y) on the screen; nothing when none was.
  virtual std::optional<UINT> TrackMenu(const Menu& menu, int x, int y) = 0;

 protected:
  ~WindowHost() = default;
};
