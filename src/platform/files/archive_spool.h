// One pass over an archive from its start, unpacking its members into the cache in
// the archive's order: the reader then takes each member whole from the cache, and
// a member of a solid block or a compressed stream costs its own bytes, not those of
// every member before it. The pass that reads the catalogue of a compressed stream
// unpacks as it goes; for the others the pass runs on a thread of its own, and a
// member asked for before the pass has reached it is waited for.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/files/archive_cache.h"
#include "platform/files/archive_catalogue.h"
#include "platform/files/archive_reader.h"

// What a walk does with a member it meets.
enum class WalkStep {
  Keep,  // unpack it into the cache
  Pass,  // unpack it and let the bytes go: they count against the cap all the same
  Skip,  // let libarchive pass over it: only where that is a seek
  Stop,  // end the walk: reaching what lies beyond would pass the cap
};

struct WalkEvents {
  std::function<WalkStep(std::uint32_t number, const MemberHeader& header)> decide;
  // The walk is past member number: kept, or why not (its data are damaged, or end early).
  std::function<void(std::uint32_t number, const std::optional<std::string>& failure)> passed;
  // The cache cannot take more, and why: members are kept no more.
  std::function<void(const std::string& reason)> cache_failed;
};

// Why a walk ended before the archive's end.
struct WalkEnd {
  enum class Why { Damaged, Cap, Asked } why;  // Asked: stop was set, or a member said Stop
  std::uint32_t headers = 0;                   // read before it ended
  std::string reason;
};

// Walks the pass from its next header on, numbering members from first, to the end of
// the archive, or until stop is set or a member says Stop. Every byte unpacked counts
// against the archive's cap, kept or not. Kept members go into cache, when there is
// one that this reader writes. Nothing when the walk reached the archive's end.
std::optional<WalkEnd> WalkAndUnpack(ArchivePass& pass, std::uint32_t first, ArchiveCache* cache,
                                     const WalkEvents& events, const std::atomic<bool>& stop);

class ArchiveSpool {
 public:
  // The pass over archive for the catalogue's members that the cache lacks, started
  // on its own thread.
  ArchiveSpool(std::shared_ptr<RegularFile> archive, std::shared_ptr<ArchiveCache> cache,
               const ArchiveCatalogue& catalogue);
  ~ArchiveSpool();  // stops the pass at its next block of bytes
  ArchiveSpool(const ArchiveSpool&) = delete;
  ArchiveSpool& operator=(const ArchiveSpool&) = delete;

  // Whether the pass has gone past member number, or ended; and waiting until it has,
  // for at most the time given.
  bool Past(std::uint32_t number);
  bool WaitPast(std::uint32_t number, std::chrono::milliseconds at_most);
  // Why the pass did not keep member number though it went past it.
  std::optional<std::string> Failure(std::uint32_t number);
  // What the reader should know of the pass (the cache filled up), once.
  std::vector<std::string> TakeNotes();

 private:
  void Run(std::shared_ptr<RegularFile> archive);
  WalkStep Decide(std::uint32_t number);

  std::shared_ptr<ArchiveCache> cache_;
  // The members to keep by their number, with their sizes; those the catalogue holds
  // past the caps or encrypted stop the pass.
  std::unordered_map<std::uint32_t, std::uint64_t> wanted_;
  std::unordered_set<std::uint32_t> too_large_;
  bool skips_ = false;  // members already kept are passed over by seeking
  std::atomic<bool> stop_{false};
  std::atomic<bool> cache_failed_{false};

  std::mutex mutex_;
  std::condition_variable progress_;
  std::uint32_t past_ = 0;  // members the pass has gone past
  bool ended_ = false;
  std::unordered_map<std::uint32_t, std::string> failures_;
  std::vector<std::string> notes_;
  std::thread thread_;  // last: it starts once all the above is there
};
