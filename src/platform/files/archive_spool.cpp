// The walk that unpacks an archive's members in order into the cache, counted
// against the cap, and the thread that runs it while the reader reads.
#include "platform/files/archive_spool.h"

#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <span>

#include "platform/files/read_limits.h"

namespace {

constexpr std::size_t UNPACK_BLOCK_BYTES = 64 * 1024;

std::string CacheWriteFailure(const SystemError& error) {
  return "the cache cannot be written: " + error.Describe();
}

struct Unpacked {
  std::optional<std::string> failure;  // the member's data are damaged or end early
  bool cap_passed = false;
  bool stopped = false;
};

// The member at hand of the pass, unpacked block by block, at most declared bytes of it
// when it is kept; into writer while there is one.
Unpacked UnpackMember(ArchivePass& pass, bool keep, std::uint64_t declared, std::uint64_t& unpacked,
                      std::optional<ArchiveCache::Writer>& writer, const WalkEvents& events,
                      const std::atomic<bool>& stop) {
  std::vector<std::uint8_t> block(UNPACK_BLOCK_BYTES);
  std::uint64_t got = 0;
  Unpacked result;
  while (true) {
    if (stop) {
      result.stopped = true;
      return result;
    }
    const std::uint64_t left = keep ? declared - got : block.size();
    if (left == 0) break;
    const auto count = pass.ReadData(std::span(block).first(
        static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()))));
    if (!count) {
      result.failure = count.error();
      break;
    }
    if (*count == 0) break;
    unpacked += *count;
    got += *count;
    if (unpacked > ARCHIVE_MAX_UNPACKED_BYTES) {
      result.cap_passed = true;
      return result;
    }
    if (!writer) continue;
    if (const auto appended = writer->Append(std::span(block).first(*count)); !appended) {
      writer.reset();
      events.cache_failed(CacheWriteFailure(appended.error()));
    }
  }
  if (!result.failure && keep && got < declared) result.failure = "it ends early";
  return result;
}

}  // namespace

std::optional<WalkEnd> WalkAndUnpack(ArchivePass& pass, std::uint32_t first, ArchiveCache* cache,
                                     const WalkEvents& events, const std::atomic<bool>& stop) {
  std::uint64_t unpacked = 0;
  bool cache_usable = cache != nullptr && cache->writer();
  for (std::uint32_t number = first;; ++number) {
    if (stop) return WalkEnd{WalkEnd::Why::Asked, number, {}};
    const auto header = pass.Next();
    if (!header) return WalkEnd{WalkEnd::Why::Damaged, number, header.error()};
    if (!*header) return std::nullopt;
    const WalkStep step = events.decide(number, **header);
    if (step == WalkStep::Stop) return WalkEnd{WalkEnd::Why::Asked, number, {}};
    if (step == WalkStep::Skip) {
      events.passed(number, std::nullopt);
      continue;
    }
    const bool keep = step == WalkStep::Keep;
    const std::uint64_t declared = (*header)->size.value_or(0);
    if (keep &&
        declared > ARCHIVE_MAX_UNPACKED_BYTES - std::min(unpacked, ARCHIVE_MAX_UNPACKED_BYTES)) {
      return WalkEnd{WalkEnd::Why::Cap, number, {}};
    }
    std::optional<ArchiveCache::Writer> writer;
    if (keep && cache_usable) {
      auto opened = cache->Write(number, declared);
      if (opened) {
        writer.emplace(std::move(*opened));
      } else {
        cache_usable = false;
        events.cache_failed(opened.error());
      }
    }
    Unpacked done = UnpackMember(pass, keep, declared, unpacked, writer, events, stop);
    if (done.stopped) return WalkEnd{WalkEnd::Why::Asked, number, {}};
    if (done.cap_passed) return WalkEnd{WalkEnd::Why::Cap, number, {}};
    if (keep && cache_usable && !writer) cache_usable = false;  // the cache failed on the way
    if (writer && !done.failure) {
      if (const auto committed = writer->Commit(); !committed) {
        cache_usable = false;
        events.cache_failed(CacheWriteFailure(committed.error()));
      }
    }
    events.passed(number, done.failure);
  }
}

ArchiveSpool::ArchiveSpool(std::shared_ptr<RegularFile> archive,
                           std::shared_ptr<ArchiveCache> cache, const ArchiveCatalogue& catalogue)
    : cache_(std::move(cache)), skips_(catalogue.access == ArchiveAccess::Direct) {
  const std::unordered_set<std::uint32_t> kept = cache_->Members();
  catalogue.ForEachMember([&](const ArchiveCatalogue::Member& member) {
    if (member.too_large) {
      too_large_.insert(member.number);
    } else if (!member.encrypted && !kept.contains(member.number)) {
      wanted_.emplace(member.number, member.size);
    }
  });
  if (wanted_.empty()) {
    ended_ = true;
    return;
  }
  // The pass takes no signal meant for the reader: it starts before the window
  // blocks the quit signals, which a thread with them open would take to its death.
  sigset_t all, before;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &before);
  thread_ = std::thread(&ArchiveSpool::Run, this, std::move(archive));
  pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

ArchiveSpool::~ArchiveSpool() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

WalkStep ArchiveSpool::Decide(std::uint32_t number) {
  if (cache_failed_ || too_large_.contains(number)) return WalkStep::Stop;
  if (wanted_.contains(number)) return WalkStep::Keep;
  return skips_ ? WalkStep::Skip : WalkStep::Pass;
}

void ArchiveSpool::Run(std::shared_ptr<RegularFile> archive) {
  auto pass = ArchivePass::Begin(std::move(archive));
  if (pass) {
    const WalkEvents events{
        [this](std::uint32_t number, const MemberHeader&) { return Decide(number); },
        [this](std::uint32_t number, const std::optional<std::string>& failure) {
          const std::lock_guard<std::mutex> lock(mutex_);
          if (failure && wanted_.contains(number)) failures_.emplace(number, *failure);
          past_ = number + 1;
          progress_.notify_all();
        },
        [this](const std::string& reason) {
          cache_failed_ = true;
          const std::lock_guard<std::mutex> lock(mutex_);
          notes_.push_back(reason +
                           ": the archive's members that it lacks are read from the "
                           "archive each time");
        },
    };
    WalkAndUnpack(**pass, 0, cache_.get(), events, stop_);
  }
  const std::lock_guard<std::mutex> lock(mutex_);
  ended_ = true;
  progress_.notify_all();
}

bool ArchiveSpool::Past(std::uint32_t number) {
  const std::lock_guard<std::mutex> lock(mutex_);
  return ended_ || past_ > number;
}

bool ArchiveSpool::WaitPast(std::uint32_t number, std::chrono::milliseconds at_most) {
  std::unique_lock<std::mutex> lock(mutex_);
  return progress_.wait_for(lock, at_most, [&] { return ended_ || past_ > number; });
}

std::optional<std::string> ArchiveSpool::Failure(std::uint32_t number) {
  const std::lock_guard<std::mutex> lock(mutex_);
  const auto found = failures_.find(number);
  if (found == failures_.end()) return std::nullopt;
  return found->second;
}

std::vector<std::string> ArchiveSpool::TakeNotes() {
  const std::lock_guard<std::mutex> lock(mutex_);
  return std::exchange(notes_, {});
}
