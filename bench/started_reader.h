// A reader started on the headless backend, its window created and its page ready,
// for measuring the start-up and single steps of the reader: by default over an
// empty folder, or over a novel (a folder or an archive); font_file spares each
// start the system's font search.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "app/main_window.h"
#include "novel_folder.h"
#include "platform/calls/window_calls.h"
#include "platform/files/open_novel.h"
#include "platform/headless/headless_backend.h"
#include "reader/reader.h"
#include "reader/texts.h"

class StartedReader {
 public:
  explicit StartedReader(const std::string& novel = EmptyFolder(),
                         std::optional<std::string> font_file = std::nullopt)
      : platform(backend, std::move(OpenNovel(novel, texts::FIRST_SCRIPT)->volume),
                 std::move(font_file)),
        reader(platform) {
    WNDCLASSEXA window_class;
    window_class.lpfnWndProc = [this](Window& window, UINT message, WPARAM wparam, LPARAM lparam) {
      return MainWindowProc(reader, window, message, wparam, lparam);
    };
    window_class.lpszClassName = "MyWin";
    RegisterClassExA(platform, window_class);
    window = CreateWindowExA(platform, 0, "MyWin", "", 0, 0, 0, 640, 480);
  }

  static const std::string& EmptyFolder() {
    static const BenchFolder folder;
    return folder.path();
  }

  std::ostream log{nullptr};  // the records of every present are dropped
  HeadlessBackend backend{{}, log};
  Platform platform;
  Reader reader;
  Window* window = nullptr;
};
