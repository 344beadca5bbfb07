// A member read whole: a pass walked to its header, then its data unpacked into
// spooled bytes, in memory while they are few.
#include "platform/files/archive_member.h"

#include <algorithm>
#include <vector>

#include "platform/files/archive_reader.h"
#include "platform/files/spooled_bytes.h"

namespace {

constexpr std::size_t UNPACK_BLOCK_BYTES = 64 * 1024;

class SpooledSource final : public ByteSource {
 public:
  explicit SpooledSource(SpooledBytes bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t size() const override { return bytes_.size(); }
  // Safe from any thread: music reads its track while the reader's thread reads on.
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    return bytes_.ReadAt(offset, out);
  }

 private:
  const SpooledBytes bytes_;
};

}  // namespace

ErrorOr<std::unique_ptr<ByteSource>, DirectReadFailure> ReadMemberWhole(
    std::shared_ptr<RegularFile> archive, std::uint32_t number, std::uint64_t size,
    std::optional<std::uint64_t> budget) {
  auto pass = ArchivePass::Begin(std::move(archive));
  if (!pass) return DirectReadFailure{pass.error()};
  for (std::uint32_t k = 0; k <= number; ++k) {
    auto header = (*pass)->Next();
    if (!header) return DirectReadFailure{header.error()};
    if (!*header) return DirectReadFailure{"the archive ends before the member"};
  }
  if (budget) (*pass)->LimitReading(*budget);
  SpooledBytes unpacked;
  std::vector<std::uint8_t> block(UNPACK_BLOCK_BYTES);
  while (unpacked.size() < size) {
    const auto wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), size - unpacked.size()));
    const auto count = (*pass)->ReadData(std::span(block).first(wanted));
    if (!count) return DirectReadFailure{count.error(), (*pass)->LimitReached()};
    if (*count == 0) return DirectReadFailure{"it ends early"};
    (*pass)->LiftReadingLimit();  // the member's own bytes are read as far as they go
    if (!unpacked.Append(std::span(block).first(*count))) {
      return DirectReadFailure{"its bytes can be kept nowhere"};
    }
  }
  return std::unique_ptr<ByteSource>(std::make_unique<SpooledSource>(std::move(unpacked)));
}
