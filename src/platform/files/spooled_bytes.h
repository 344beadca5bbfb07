// Bytes kept in memory while they are few and in a temporary file once they are
// many: what a member of an archive unpacks to, read back by position. The file has
// no name (O_TMPFILE), so nothing is left behind however the reader ends.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/files/regular_file.h"

class SpooledBytes {
 public:
  // False when the bytes could be kept nowhere.
  bool Append(std::span<const std::uint8_t> bytes);
  // As ByteSource::ReadAt over the bytes appended so far.
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) const;
  std::uint64_t size() const { return size_; }

 private:
  bool MoveToFile();

  std::vector<std::uint8_t> memory_;
  std::optional<FileDescriptor> file_;
  std::uint64_t size_ = 0;
};
