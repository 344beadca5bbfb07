// Whole-file reading of regular files.
#include "platform/files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>

FileDescriptor::~FileDescriptor() {
  if (descriptor_ >= 0) close(descriptor_);
}

std::optional<std::string> ReadRegularFile(const std::string& host_path, std::uint64_t max_bytes) {
  FileDescriptor file(open(host_path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (file.get() < 0) return std::nullopt;
  struct stat status {};
  if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
  if (static_cast<std::uint64_t>(status.st_size) > max_bytes) return std::nullopt;
  std::string contents;
  std::array<char, 16384> chunk;
  for (;;) {
    const ssize_t count = read(file.get(), chunk.data(), chunk.size());
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return contents;
    // A file that grows while it is read is cut at the limit.
    if (contents.size() + static_cast<std::size_t>(count) > max_bytes) return std::nullopt;
    contents.append(chunk.data(), static_cast<std::size_t>(count));
  }
}
