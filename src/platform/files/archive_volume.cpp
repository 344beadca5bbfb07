// An archive's catalogue read or taken from the cache, the novel's folder in it, and
// members taken from the cache, from a pass of their own, or waited for.
#include "platform/files/archive_volume.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/files/archive_member.h"
#include "platform/files/path_parts.h"
#include "platform/files/read_limits.h"

namespace {

constexpr std::uint64_t UNKNOWN = std::numeric_limits<std::uint64_t>::max();
// A 7z member read alone may take this much of the archive before its first bytes
// come: its own block's start. More means that it shares a solid block with the
// members before it, which a pass of its own would unpack again at every read.
constexpr std::uint64_t DIRECT_READ_BUDGET_BYTES = 1024 * 1024;

// How long a wait for the pass goes before the window is answered again.
constexpr std::chrono::milliseconds WAIT_SLICE{20};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

// The members of an archive read once, header by header, into the catalogue. Where
// headers come only with the data (a compressed stream, RAR, CAB), every member is
// unpacked into the cache on the way. Names that are no CP932 (UTF-8 written by a
// tool that did not say so) are read again byte for byte in a second pass, which
// stops after the last of them.
class ArchiveVolume::CatalogueReading {
 public:
  CatalogueReading(ArchiveVolume& volume, std::vector<std::string>& notes)
      : volume_(volume), catalogue_(volume.catalogue_), notes_(notes) {}

  // The reason when the file is no archive that libarchive reads.
  std::optional<std::string> Read() {
    auto pass = ArchivePass::Begin(volume_.file_);
    if (!pass) return pass.error();
    auto first = (*pass)->Next();
    catalogue_.access = (*pass)->Access();
    if (catalogue_.access == ArchiveAccess::Serial && first && *first) {
      auto fresh = ArchivePass::Begin(volume_.file_);
      if (!fresh) return fresh.error();
      WalkUnpacking(**fresh);
    } else {
      WalkHeaders(**pass, std::move(first));
    }
    if (!unread_names_.empty()) ReadBytewise();
    return std::nullopt;
  }

 private:
  struct UnreadName {
    std::uint32_t number;
    MemberHeader header;
    std::uint64_t before;
  };

  void WalkHeaders(ArchivePass& pass, ErrorOr<std::optional<MemberHeader>, std::string> header) {
    for (std::uint32_t number = 0;; ++number) {
      if (number > 0) header = pass.Next();
      if (!header) return catalogue_.EndDamaged(number, header.error());
      if (!*header) return;
      if (number == ARCHIVE_MAX_MEMBERS) return catalogue_.EndAtMemberCap();
      Take(number, **header);
    }
  }

  void WalkUnpacking(ArchivePass& pass) {
    const WalkEvents events{
        [this](std::uint32_t number, const MemberHeader& header) {
          if (number == ARCHIVE_MAX_MEMBERS) {
            catalogue_.EndAtMemberCap();
            return WalkStep::Stop;
          }
          const Member* member = Take(number, header);
          if (member && member->too_large) {
            catalogue_.EndAtCap(number);
            return WalkStep::Stop;
          }
          const bool unread_member =
              header.path.empty() && header.kind == MemberHeader::Kind::RegularFile && header.size;
          return (member && !member->encrypted) || unread_member ? WalkStep::Keep : WalkStep::Pass;
        },
        [this](std::uint32_t number, const std::optional<std::string>& failure) {
          if (failure) volume_.failures_.emplace(number, *failure);
        },
        [this](const std::string& reason) { notes_.push_back(CacheFailedNote(reason)); },
    };
    const std::atomic<bool> never{false};
    const std::optional<WalkEnd> end = WalkAndUnpack(pass, 0, volume_.cache_.get(), events, never);
    if (end && end->why == WalkEnd::Why::Damaged) catalogue_.EndDamaged(end->headers, end->reason);
    if (end && end->why == WalkEnd::Why::Cap) catalogue_.EndAtCap(end->headers);
  }

  // A header into the catalogue, or kept for the second pass when its name did not read.
  const Member* Take(std::uint32_t number, const MemberHeader& header) {
    const std::uint64_t before = declared_;
    const std::uint64_t size = header.size.value_or(UNKNOWN);
    declared_ = declared_ > UNKNOWN - size ? UNKNOWN : declared_ + size;
    if (header.path.empty()) {
      unread_names_.push_back({number, header, before});
      return nullptr;
    }
    return catalogue_.Add(number, header, StoredNames(header.path, true), before);
  }

  void ReadBytewise() {
    auto pass = ArchivePass::Begin(volume_.file_, HeaderNames::Latin1);
    std::size_t next = 0;
    for (std::uint32_t number = 0; pass && next < unread_names_.size(); ++number) {
      const auto header = (*pass)->Next();
      if (!header || !*header) break;
      if (unread_names_[next].number != number) continue;
      const UnreadName& unread = unread_names_[next++];
      catalogue_.Add(number, unread.header, StoredNames(Latin1Bytes((*header)->path), false),
                     unread.before);
    }
    catalogue_.LeaveOut(static_cast<std::uint32_t>(unread_names_.size() - next));
  }

  // The bytes of a name read as Latin-1: each character one byte.
  static std::string Latin1Bytes(const std::string& name_utf8) {
    std::string bytes;
    for (std::size_t i = 0; i < name_utf8.size(); ++i) {
      const auto lead = static_cast<unsigned char>(name_utf8[i]);
      if (lead < 0x80 || i + 1 == name_utf8.size()) {
        bytes += static_cast<char>(lead);
      } else {
        const auto trail = static_cast<unsigned char>(name_utf8[++i]);
        bytes += static_cast<char>((lead & 0x03) << 6 | (trail & 0x3F));
      }
    }
    return bytes;
  }

  // The stored names of a member's path ("./" has none), or nothing when it is
  // absolute or climbs. A backslash in a UTF-8 name is a Windows separator; in raw
  // bytes it may be the second byte of a character.
  std::optional<std::vector<std::string>> StoredNames(const std::string& path, bool utf8) {
    const PathParts parts = SplitPath(path, utf8 ? Backslash::Separates : Backslash::InName);
    if (path.empty() || parts.absolute) return std::nullopt;
    std::vector<std::string> names;
    for (const std::string_view part : parts.names) {
      if (part == ".") continue;
      if (part == "..") return std::nullopt;
      // Stored as the scripts write names, in CP932, where the characters allow it.
      const std::optional<std::string> sjis =
          utf8 ? volume_.shift_jis().FromUtf8(part) : std::nullopt;
      names.push_back(sjis.value_or(std::string(part)));
    }
    return names;
  }

  ArchiveVolume& volume_;
  ArchiveCatalogue& catalogue_;
  std::vector<std::string>& notes_;
  std::uint64_t declared_ = 0;  // what the headers so far declare they unpack to
  std::vector<UnreadName> unread_names_;

 public:
  static std::string CacheFailedNote(const std::string& reason) {
    return reason + ": the members that the cache lacks are read from the archive each time";
  }
};

ArchiveVolume::ArchiveVolume(const std::string& real_path, std::shared_ptr<RegularFile> file,
                             std::shared_ptr<ArchiveCache> cache)
    : Volume(real_path, real_path), file_(std::move(file)), cache_(std::move(cache)) {}

ArchiveVolume::~ArchiveVolume() = default;

ErrorOr<std::unique_ptr<ArchiveVolume>, std::string> ArchiveVolume::Open(
    const std::string& path, std::string_view first_script_sjis, std::vector<std::string>& notes) {
  char real[PATH_MAX];
  if (realpath(path.c_str(), real) == nullptr) {
    return "cannot open " + path + ": " + std::strerror(errno);
  }
  FileOr<RegularFile> file = RegularFile::Open(real);
  if (!file) return "cannot read " + path + ": " + DescribeFileError(file.error());
  struct stat status {};
  if (fstat(file->descriptor(), &status) != 0) {
    return "cannot read " + path + ": " + SystemError::FromErrno("fstat").Describe();
  }
  auto shared = std::make_shared<RegularFile>(std::move(*file));
  if (IsPartOfSplitZip(*shared)) {
    return path + " is one part of a ZIP archive split into several files (.z01, .z02 ... " +
           ".zip): yomu reads only whole archives; zip -s 0 NAME.zip --out whole.zip joins them";
  }
  std::shared_ptr<ArchiveCache> cache;
  auto taken = ArchiveCache::Take(real, status);
  if (taken) {
    cache = std::move(*taken);
  } else if (!taken.error().empty()) {
    notes.push_back(CatalogueReading::CacheFailedNote(taken.error()));
  }
  std::unique_ptr<ArchiveVolume> volume(new ArchiveVolume(real, shared, cache));
  const std::optional<std::string> kept = cache ? cache->Catalogue() : std::nullopt;
  if (std::optional<ArchiveCatalogue> catalogue =
          kept ? ArchiveCatalogue::Parse(*kept) : std::nullopt) {
    volume->catalogue_ = std::move(*catalogue);
  } else {
    std::vector<std::string> reading_notes;
    if (const auto error = CatalogueReading(*volume, reading_notes).Read()) {
      return path + " is neither a novel folder nor an archive that yomu reads (" + *error + ")";
    }
    notes.insert(notes.end(), reading_notes.begin(), reading_notes.end());
    if (cache) cache->KeepCatalogue(volume->catalogue_.Text());
  }
  const std::vector<std::string> catalogue_notes = volume->catalogue_.Notes();
  notes.insert(notes.end(), catalogue_notes.begin(), catalogue_notes.end());
  if (cache && cache->writer() && volume->catalogue_.access != ArchiveAccess::Serial) {
    volume->spool_ = std::make_unique<ArchiveSpool>(shared, cache, volume->catalogue_);
  }
  volume->top_ = volume->NovelFolder(first_script_sjis, notes);
  if (!volume->top_.empty()) {
    volume->MovePlace(std::string(real) + "/" + volume->DisplayName(volume->top_));
  }
  return volume;
}

std::string ArchiveVolume::NovelFolder(std::string_view first_script_sjis,
                                       std::vector<std::string>& notes) {
  std::vector<std::string> holding;  // the shallowest folders that hold the first script
  int depth = INT_MAX;
  for (ArchiveCatalogue::FolderId id = 0; id < catalogue_.folder_count(); ++id) {
    if (catalogue_.Depth(id) > depth) continue;
    const std::string folder = catalogue_.PathOf(id);
    const std::optional<FoundName> found = FindPart(folder, first_script_sjis);
    if (!found || !catalogue_.MemberAt(JoinPath(folder, found->name))) continue;
    if (catalogue_.Depth(id) < depth) holding.clear();
    depth = catalogue_.Depth(id);
    holding.push_back(folder);
  }
  if (holding.empty()) return {};
  std::sort(holding.begin(), holding.end());
  if (holding.size() > 1) {
    std::string list;
    for (const std::string& folder : holding) {
      list += (list.empty() ? "" : ", ") + Quoted(DisplayName(folder));
    }
    notes.push_back("the archive holds " + DisplayName(std::string(first_script_sjis)) +
                    " in several folders (" + list + "): the reader reads the one in " +
                    Quoted(DisplayName(holding.front())));
  }
  return holding.front();
}

std::string ArchiveVolume::InArchive(const std::string& path) const { return JoinPath(top_, path); }

bool ArchiveVolume::HasEntry(const std::string& path) { return catalogue_.Holds(InArchive(path)); }

std::optional<FoundName> ArchiveVolume::FindOtherwise(const std::string& folder,
                                                      std::string_view part_sjis,
                                                      const std::optional<std::string>& part_utf8) {
  const std::optional<ArchiveCatalogue::FolderId> found = catalogue_.FolderAt(InArchive(folder));
  if (!found) return std::nullopt;
  return catalogue_.Index(*found).Find(NameProbes(part_sjis, part_utf8));
}

FileOr<NovelFile> ArchiveVolume::Inspect(NovelFile file) {
  const std::string in_archive = InArchive(file.path);
  const Member* member = catalogue_.MemberAt(in_archive);
  if (member == nullptr) {
    return FileError{
        catalogue_.FolderAt(in_archive) ? FileProblem::NotRegularFile : FileProblem::NotFound, {}};
  }
  if (member->encrypted) return FileError{FileProblem::Encrypted, {}};
  if (member->too_large) return FileError{FileProblem::TooLarge, {}};
  file.size = member->size;
  return file;
}

FileOr<std::unique_ptr<ByteSource>> ArchiveVolume::Open(const NovelFile& file) {
  TellSpoolNotes();
  const Member* member = catalogue_.MemberAt(InArchive(file.path));
  if (member == nullptr) return FileError{FileProblem::NotFound, {}};
  return OpenMember(*member);
}

FileOr<std::unique_ptr<ByteSource>> ArchiveVolume::OpenMember(const Member& member) {
  const auto from_cache = [&]() -> std::unique_ptr<ByteSource> {
    std::optional<RegularFile> cached =
        cache_ ? cache_->Member(member.number, member.size) : std::nullopt;
    return cached ? std::make_unique<RegularFile>(std::move(*cached)) : nullptr;
  };
  if (std::unique_ptr<ByteSource> cached = from_cache()) return cached;
  if (spool_ && !spool_->Past(member.number)) {
    // Where a member costs only its own bytes, it need not wait for the pass.
    const ArchiveAccess access = catalogue_.access;
    if (access == ArchiveAccess::Direct || (access == ArchiveAccess::Budgeted && !solid_)) {
      const bool budgeted = access == ArchiveAccess::Budgeted;
      auto direct =
          ReadMemberWhole(file_, member.number, member.size,
                          budgeted ? std::optional(DIRECT_READ_BUDGET_BYTES) : std::nullopt);
      if (direct) return std::move(*direct);
      if (!direct.error().over_budget)
        return FileError{FileProblem::Unreadable, direct.error().reason};
      solid_ = true;
    }
    while (!spool_->WaitPast(member.number, WAIT_SLICE)) {
      if (!KeepWaiting()) return FileError{FileProblem::Unreadable, "the reader is closing"};
    }
    if (std::unique_ptr<ByteSource> cached = from_cache()) return cached;
  }
  std::optional<std::string> failure = spool_ ? spool_->Failure(member.number) : std::nullopt;
  if (const auto found = failures_.find(member.number); !failure && found != failures_.end()) {
    failure = found->second;
  }
  if (failure) return FileError{FileProblem::Unreadable, *failure};
  return ReadDirectly(member);
}

FileOr<std::unique_ptr<ByteSource>> ArchiveVolume::ReadDirectly(const Member& member) {
  // Beyond a seek, reaching the member unpacks every byte before it.
  if (catalogue_.access != ArchiveAccess::Direct &&
      (member.size > ARCHIVE_MAX_UNPACKED_BYTES ||
       member.before > ARCHIVE_MAX_UNPACKED_BYTES - member.size)) {
    return FileError{FileProblem::Unreadable, "the members before it unpack to more than " +
                                                  std::to_string(ARCHIVE_MAX_UNPACKED_BYTES >> 20) +
                                                  " MiB"};
  }
  auto direct = ReadMemberWhole(file_, member.number, member.size);
  if (!direct) return FileError{FileProblem::Unreadable, direct.error().reason};
  return std::move(*direct);
}

bool ArchiveVolume::OpensAtOnce(const NovelFile& file) {
  const Member* member = catalogue_.MemberAt(InArchive(file.path));
  return member == nullptr || catalogue_.access == ArchiveAccess::Direct || !spool_ ||
         spool_->Past(member->number) || (cache_ && cache_->Member(member->number, member->size));
}

void ArchiveVolume::TellSpoolNotes() {
  if (!spool_) return;
  for (const std::string& note : spool_->TakeNotes()) Note(note);
}

std::vector<std::string> ArchiveVolume::List(const std::string& folder) {
  const std::optional<ArchiveCatalogue::FolderId> found = catalogue_.FolderAt(InArchive(folder));
  if (!found) return {};
  return catalogue_.Names(*found);
}
