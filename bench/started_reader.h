// A reader started on the headless backend, its window created and its page ready,
// for measuring the start-up and single steps of the reader: by default over an
// empty directory, or over a novel folder; font_file spares each start the system's
// font search.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "app/main_window.h"
#include "platform/headless/headless_backend.h"
#include "reader/reader.h"

class StartedReader {
 public:
  explicit StartedReader(const std::string& folder = "/nonexistent-novel",
                         std::optional<std::string> font_file = std::nullopt)
      : platform(backend, folder, std::move(font_file)), reader(platform) {
    WNDCLASSEXA window_class;
    window_class.lpfnWndProc = [this](Window& window, UINT message, WPARAM wparam, LPARAM lparam) {
      return MainWindowProc(reader, window, message, wparam, lparam);
    };
    window_class.lpszClassName = "MyWin";
    RegisterClassExA(platform, window_class);
    window = CreateWindowExA(platform, 0, "MyWin", "", 0, 0, 0, 640, 480);
  }

  std::ostream log{nullptr};  // the records of every present are dropped
  HeadlessBackend backend{{}, log};
  Platform platform;
  Reader reader;
  Window* window = nullptr;
};
