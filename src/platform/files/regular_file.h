// Reading the files of a novel's folder: only regular files, opened so that a FIFO
// or a device under a file's name cannot block the reader, and never more bytes
// than the caller can use.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "platform/files/byte_source.h"
#include "platform/files/novel_file.h"

// A file descriptor, closed with its owner.
class FileDescriptor {
 public:
  explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
  FileDescriptor(FileDescriptor&& other) noexcept
      : descriptor_(std::exchange(other.descriptor_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&&) = delete;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor();
  int get() const { return descriptor_; }
  // Hands the descriptor to the caller, who closes it.
  int release() { return std::exchange(descriptor_, -1); }

 private:
  int descriptor_;
};

// An open regular file; its size is taken when it is opened, and reads never go
// beyond it, so a file that grows meanwhile cannot make a reader read more.
class RegularFile final : public ByteSource {
 public:
  // Why not, when the file cannot be opened or is no regular file (a folder, a FIFO,
  // a device, or a link to one).
  static FileOr<RegularFile> Open(const std::string& host_path);
  // The same for a file already open; a descriptor below 0 stands for open's errno.
  static FileOr<RegularFile> FromDescriptor(FileDescriptor file);

  std::uint64_t size() const override { return size_; }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;
  // The descriptor, for a library that reads the file itself.
  int descriptor() const { return file_.get(); }

 private:
  RegularFile(FileDescriptor file, std::uint64_t size) : file_(std::move(file)), size_(size) {}
  FileDescriptor file_;
  std::uint64_t size_;
};

// The whole contents of the regular file at host_path, or why not: it cannot be
// opened, is no regular file, or is larger than max_bytes. A read error ends the
// contents where it happened.
FileOr<std::string> ReadRegularFile(
    const std::string& host_path,
    std::uint64_t max_bytes = std::numeric_limits<std::uint64_t>::max());
