// The text output for learners, on a descriptor that never blocks the reader.
#include "reader/text_out.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Lines kept for a named pipe that nobody reads yet, or reads slowly.
constexpr std::size_t WAITING_LINES_MAX = 64;

bool IsNamedPipe(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISFIFO(status.st_mode);
}

}  // namespace

ErrorOr<void, SystemError> TextOut::Open(const std::string& path) {
  active_ = true;
  if (path == "-") {
    standard_output_ = true;
    return {};
  }
  if (IsNamedPipe(path)) {
    // Without a reader, opening for writing would wait: ENXIO says there is none.
    pipe_path_ = path;
    const int pipe = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (pipe >= 0) file_.emplace(pipe);
    if (pipe >= 0 || errno == ENXIO) return {};
  } else {
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (file >= 0) {
      file_.emplace(file);
      return {};
    }
  }
  active_ = false;
  return SystemError::FromErrno("open");
}

void TextOut::End() {
  active_ = false;
  file_.reset();
  waiting_.clear();
}

void TextOut::WriteLine(std::string_view text_utf8) {
  if (!active_) return;
  waiting_.push_back(std::string(text_utf8) + '\n');
  if (waiting_.size() > WAITING_LINES_MAX) {
    waiting_.pop_front();
    written_of_first_ = 0;
  }
  Flush();
}

void TextOut::Flush() {
  // Standard output goes through stdio, as the headless log does, so that the two
  // keep their order.
  if (standard_output_) {
    for (const std::string& line : waiting_) {
      if (std::fwrite(line.data(), 1, line.size(), stdout) != line.size()) return End();
    }
    waiting_.clear();
    if (std::fflush(stdout) != 0) End();
    return;
  }
  if (!file_ && pipe_path_) {
    const int pipe = open(pipe_path_->c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (pipe < 0) return;  // still nobody reads it
    file_.emplace(pipe);
  }
  while (!waiting_.empty()) {
    const std::string& line = waiting_.front();
    const ssize_t count =
        write(file_->get(), line.data() + written_of_first_, line.size() - written_of_first_);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 && errno == EAGAIN) return;  // the pipe is full: later
    if (count < 0 && errno == EPIPE && pipe_path_) {
      file_.reset();  // its reader left: the next one that opens it gets the lines
      return;
    }
    if (count <= 0) return End();
    written_of_first_ += static_cast<std::size_t>(count);
    if (written_of_first_ == line.size()) {
      waiting_.pop_front();
      written_of_first_ = 0;
    }
  }
}
