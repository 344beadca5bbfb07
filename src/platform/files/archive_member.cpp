// Archive members: a pass walked to the member's header, then its data unpacked
// into spooled bytes as reads go further.
#include "platform/files/archive_member.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t UNPACK_BLOCK_BYTES = 64 * 1024;

}  // namespace

ErrorOr<std::unique_ptr<ArchiveMember>, std::string> ArchiveMember::Open(
    std::shared_ptr<RegularFile> archive, std::size_t number, std::uint64_t size) {
  auto pass = ArchivePass::Begin(std::move(archive));
  if (!pass) return pass.error();
  for (std::size_t k = 0; k <= number; ++k) {
    auto header = (*pass)->Next();
    if (!header) return header.error();
    if (!*header) return std::string("the archive ends before the member");
  }
  return std::unique_ptr<ArchiveMember>(new ArchiveMember(std::move(*pass), size));
}

void ArchiveMember::UnpackTo(std::uint64_t end) {
  end = std::min(end, size_);
  // On the heap: the audio thread that reads a track has a small stack.
  std::vector<std::uint8_t>& block = block_;
  block.resize(UNPACK_BLOCK_BYTES);
  while (pass_ && unpacked_.size() < end) {
    const auto wanted = static_cast<std::size_t>(
        std::min<std::uint64_t>(block.size(), size_ - unpacked_.size()));
    const auto count = pass_->ReadData(std::span(block).first(wanted));
    if (!count || *count == 0 || !unpacked_.Append(std::span(block).first(*count))) {
      pass_.reset();  // damaged or short: what was unpacked is all there is
    }
  }
  if (unpacked_.size() == size_) pass_.reset();
}

std::size_t ArchiveMember::ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (offset >= size_) return 0;
  UnpackTo(offset + std::min<std::uint64_t>(out.size(), size_ - offset));
  return unpacked_.ReadAt(offset, out);
}
