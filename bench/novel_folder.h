// A novel folder for the benchmarks, in a temporary directory removed with it, and a
// reader started on it the way the real window starts one.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "app/main_window.h"
#include "platform/headless/headless_backend.h"
#include "reader/reader.h"

class BenchFolder {
 public:
  BenchFolder() {
    char pattern[] = "/tmp/yomu-bench-folder-XXXXXX";
    if (mkdtemp(pattern) != nullptr) path_ = pattern;
  }
  ~BenchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;

  const std::string& path() const { return path_; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path_ + "/" + name, std::ios::binary) << bytes;
  }
  // Old folders are not being written to: their index is built once.
  void Settle() const {
    std::filesystem::last_write_time(
        path_, std::filesystem::file_time_type::clock::now() - std::chrono::hours(24));
  }

 private:
  std::string path_;
};

// The whole start-up of the reader, up to its first page, on a folder; font_file
// spares each start the system's font search.
class ReaderOnFolder {
 public:
  ReaderOnFolder(const std::string& folder, const std::string& font_file)
      : platform(backend, folder, font_file), reader(platform) {
    WNDCLASSEXA window_class;
    window_class.lpfnWndProc = [this](Window& window, UINT message, WPARAM wparam, LPARAM lparam) {
      return MainWindowProc(reader, window, message, wparam, lparam);
    };
    window_class.lpszClassName = "MyWin";
    RegisterClassExA(platform, window_class);
    window = CreateWindowExA(platform, 0, "MyWin", "", 0, 0, 0, 640, 480);
  }

  std::ostream log{nullptr};
  HeadlessBackend backend{{}, log};
  Platform platform;
  Reader reader;
  Window* window = nullptr;
};
