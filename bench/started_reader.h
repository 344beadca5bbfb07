// A reader started on the headless backend over a novel directory (by default an
// empty one): its window created and its page ready, for measuring single steps.
#pragma once

#include <ostream>
#include <string>

#include "app/main_window.h"
#include "platform/headless/headless_backend.h"
#include "reader/reader.h"

class StartedReader {
 public:
  explicit StartedReader(const std::string& novel_directory = "/nonexistent-novel")
      : platform(backend, novel_directory) {
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
  Reader reader{platform};
  Window* window = nullptr;
};

