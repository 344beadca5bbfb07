// A novel folder for the benchmarks, in a temporary directory removed with it.
#pragma once

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

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
