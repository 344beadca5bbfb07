// A reader started on the headless backend over an empty directory: its window
// created and its page ready, for measuring single steps of the reader.
#pragma once

#include <ostream>

#include "app/main_window.h"
#include "platform/headless/headless_backend.h"
#include "reader/reader.h"

class StartedReader {
 public:
  StartedReader() {
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
  Platform platform{backend, "/nonexistent-novel"};
  Reader reader{platform};
  Window* window = nullptr;
};

