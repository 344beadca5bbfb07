// The bytes of one member of an archive, unpacked as far as they are asked for: a
// script is read only as far as its 700 lines reach, a picture as far as its rows.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/error_or.h"
#include "platform/files/archive_reader.h"
#include "platform/files/byte_source.h"
#include "platform/files/spooled_bytes.h"

class ArchiveMember final : public ByteSource {
 public:
  // Member number (from 0, in the archive's order) of the archive, whose header
  // declared size bytes; the reason when the archive no longer reaches it.
  static ErrorOr<std::unique_ptr<ArchiveMember>, std::string> Open(
      std::shared_ptr<RegularFile> archive, std::size_t number, std::uint64_t size);

  // The declared size: bytes past it are never unpacked, and a member that unpacks
  // to fewer reads as cut short.
  std::uint64_t size() const override { return size_; }
  // Safe from any thread: music reads its track while the reader's thread reads on.
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override;

 private:
  ArchiveMember(std::unique_ptr<ArchivePass> pass, std::uint64_t size)
      : pass_(std::move(pass)), size_(size) {}
  // Unpacks until the first end bytes are at hand, the member ends or fails.
  void UnpackTo(std::uint64_t end);

  std::mutex mutex_;
  std::unique_ptr<ArchivePass> pass_;  // at the member's data; gone once it is unpacked
  SpooledBytes unpacked_;
  std::vector<std::uint8_t> block_;
  const std::uint64_t size_;
};
