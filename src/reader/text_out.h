// The text output for learners: each paragraph as one line of UTF-8, flushed at
// once, into a file, a named pipe or standard output.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

class TextOut {
 public:
  // "-" is standard output. False, with a message in error, when the file cannot be
  // opened for writing.
  bool Open(const std::string& path, std::string& error);
  bool active() const { return out_ != nullptr; }
  // One line; control characters become blanks so that it stays one line. A
  // failed write (a pipe whose reader left) ends the output.
  void WriteLine(std::string_view text_utf8);

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  std::FILE* out_ = nullptr;
};
