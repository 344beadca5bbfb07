// One member of an archive read whole by a pass of its own from the archive's start:
// what the reader does when the cache does not hold the member and the pass that
// fills the cache is not worth waiting for.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/error_or.h"
#include "platform/files/byte_source.h"
#include "platform/files/regular_file.h"

struct DirectReadFailure {
  std::string reason;
  // The pass read more of the archive than the budget allowed before the member's
  // first bytes came: the member shares a compressed block with those before it.
  bool over_budget = false;
};

// Member number (from 0, in the archive's order) of the archive, whose header declared
// size bytes, unpacked whole; a member that unpacks to fewer bytes is damaged. With a
// budget, the pass may read at most that many bytes of the archive file to reach the
// member's first bytes.
ErrorOr<std::unique_ptr<ByteSource>, DirectReadFailure> ReadMemberWhole(
    std::shared_ptr<RegularFile> archive, std::uint32_t number, std::uint64_t size,
    std::optional<std::uint64_t> budget = std::nullopt);
