// The text output for learners: each paragraph as one line of UTF-8, written at
// once, into a file, a named pipe or standard output. The reader never waits for
// it: a named pipe is opened without blocking and written so, and the lines that
// it cannot take yet (nobody reads it yet, or its reader is slow) wait in a small
// queue, the oldest going first when it is full.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "platform/error_or.h"
#include "platform/files/regular_file.h"
#include "platform/system_error.h"

class TextOut {
 public:
  // "-" is standard output. False, with a message in error, when the file cannot be
  // opened for writing.
  ErrorOr<void, SystemError> Open(const std::string& path);
  bool active() const { return active_; }
  // True while a named pipe has no reader: its lines wait.
  bool waiting_for_reader() const { return active_ && pipe_path_ && !file_; }
  // One line, which holds no line break. A write that fails for another reason than
  // a full or unread pipe ends the output.
  void WriteLine(std::string_view text_utf8);

 private:
  // Writes what waits, as far as the output takes it now.
  void Flush();
  void End();

  bool active_ = false;
  bool standard_output_ = false;
  std::optional<FileDescriptor> file_;
  std::optional<std::string> pipe_path_;  // a named pipe, opened again for each reader
  std::deque<std::string> waiting_;
  std::size_t written_of_first_ = 0;  // bytes of waiting_.front() already written
};
