// Reading the files of a novel's folder: only regular files, opened so that a FIFO
// or a device under a file's name cannot block the reader, and never more bytes
// than the caller can use.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

// A file descriptor, closed with its owner.
class FileDescriptor {
 public:
  explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor();
  int get() const { return descriptor_; }

 private:
  int descriptor_;
};

// The whole contents of the regular file at host_path; nothing when it cannot be
// opened, is no regular file, or is larger than max_bytes. A read error ends the
// contents where it happened.
std::optional<std::string> ReadRegularFile(
    const std::string& host_path,
    std::uint64_t max_bytes = std::numeric_limits<std::uint64_t>::max());
