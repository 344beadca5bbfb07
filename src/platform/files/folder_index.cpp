// The case-folded index of a folder's names, and the indexes of the folders
// looked in, each checked against its folder's modification time.
#include "platform/files/folder_index.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <vector>

#include "platform/files/read_limits.h"
#include "platform/shift_jis.h"

namespace {

// A change within this time before an index is built may share its modification
// time with a later change (file times are kept to a clock tick, not a nanosecond).
constexpr std::int64_t UNSETTLED_NS = 1'000'000'000;
// Folders whose indexes are kept; a novel looks in only a few.
constexpr std::size_t MAX_FOLDERS = 64;

unsigned char FoldAscii(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Full-width Ａ-Ｚ (0x82 0x60-0x79) folds onto ａ-ｚ (0x82 0x81-0x9A).
unsigned char FoldShiftJisTrail(unsigned char lead, unsigned char trail) {
  return (lead == 0x82 && trail >= 0x60 && trail <= 0x79) ? static_cast<unsigned char>(trail + 0x21)
                                                          : trail;
}

bool IsDotEntry(std::string_view name) { return name == "." || name == ".."; }

struct DirectoryCloser {
  void operator()(DIR* directory) const { closedir(directory); }
};

// Calls visit(name) for each entry but "." and ".."; false when the folder cannot be
// read or visit asks to stop by returning false.
template <typename Visit>
bool ForEachEntry(const std::string& directory, Visit&& visit) {
  std::unique_ptr<DIR, DirectoryCloser> listing(
      opendir(directory.empty() ? "." : directory.c_str()));
  if (!listing) return false;
  while (const dirent* entry = readdir(listing.get())) {
    const std::string_view name(entry->d_name);
    if (!IsDotEntry(name) && !visit(name)) return false;
  }
  return true;
}

void OfferSmallest(std::optional<std::string>& best, std::string_view entry) {
  if (!best || entry < *best) best = std::string(entry);
}

std::int64_t Nanoseconds(const timespec& time) {
  return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

// Names with at most this many ASCII letters are looked for spelling by spelling.
constexpr int MAX_SPELLING_LETTERS = 4;

bool IsAsciiLetter(unsigned char byte) {
  return (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z';
}

bool IsFullWidthLetterUtf8(std::string_view name, std::size_t i) {
  if (i + 2 >= name.size() || static_cast<unsigned char>(name[i]) != 0xEF) return false;
  const auto second = static_cast<unsigned char>(name[i + 1]);
  const auto third = static_cast<unsigned char>(name[i + 2]);
  return (second == 0xBC && third >= 0xA1 && third <= 0xBA) ||
         (second == 0xBD && third >= 0x81 && third <= 0x9A);
}

// A name whose letters are all ASCII and few: a full-width Ａ-Ｚ or ａ-ｚ, which folds
// too, leaves the name to the index. In a Shift-JIS name the byte after a lead byte is
// a trail byte, never a letter, as the name is folded.
bool HasFewSpellings(std::string_view name, bool shift_jis) {
  int letters = 0;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (shift_jis && IsShiftJisLeadByte(byte) && i + 1 < name.size()) {
      const auto trail = static_cast<unsigned char>(name[++i]);
      const bool full_width_letter =
          byte == 0x82 && ((trail >= 0x60 && trail <= 0x79) || (trail >= 0x81 && trail <= 0x9A));
      if (full_width_letter) return false;
    } else if (!shift_jis && IsFullWidthLetterUtf8(name, i)) {
      return false;
    } else if (IsAsciiLetter(byte)) {
      ++letters;
    }
  }
  return letters <= MAX_SPELLING_LETTERS;
}

// Every spelling of the name's ASCII letters in either case; the smallest that exists.
// In a Shift-JIS name the byte after a lead byte is a trail byte, never a letter, as
// the name is folded.
std::optional<std::string> FindBySpelling(const std::string& directory, std::string_view name,
                                          bool shift_jis) {
  std::vector<std::size_t> letters;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (shift_jis && IsShiftJisLeadByte(byte) && i + 1 < name.size()) {
      ++i;
    } else if (byte < 0x80 && IsAsciiLetter(byte)) {
      letters.push_back(i);
    }
  }
  std::optional<std::string> best;
  std::string spelling(name);
  const std::string prefix = directory.empty() ? std::string() : directory + "/";
  for (unsigned mask = 0; mask < (1u << letters.size()); ++mask) {
    for (std::size_t bit = 0; bit < letters.size(); ++bit) {
      const auto byte = static_cast<unsigned char>(name[letters[bit]]);
      spelling[letters[bit]] = static_cast<char>((mask >> bit) & 1 ? byte ^ 0x20 : byte);
    }
    struct stat status {};
    if (lstat((prefix + spelling).c_str(), &status) == 0) OfferSmallest(best, spelling);
  }
  return best;
}

}  // namespace

std::string FoldShiftJisName(std::string_view name_sjis) {
  std::string folded(name_sjis);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto byte = static_cast<unsigned char>(folded[i]);
    if (IsShiftJisLeadByte(byte) && i + 1 < folded.size()) {
      const auto trail = static_cast<unsigned char>(folded[i + 1]);
      folded[i + 1] = static_cast<char>(FoldShiftJisTrail(byte, trail));
      ++i;
    } else {
      folded[i] = static_cast<char>(FoldAscii(byte));
    }
  }
  return folded;
}

std::string FoldUtf8Name(std::string_view name_utf8) {
  std::string folded(name_utf8);
  for (std::size_t i = 0; i < folded.size(); ++i) {
    const auto byte = static_cast<unsigned char>(folded[i]);
    if (byte < 0x80) {
      folded[i] = static_cast<char>(FoldAscii(byte));
    } else if (byte == 0xEF && i + 2 < folded.size() && folded[i + 1] == '\xBC') {
      const auto last = static_cast<unsigned char>(folded[i + 2]);
      if (last >= 0xA1 && last <= 0xBA) {
        folded[i + 1] = '\xBD';
        folded[i + 2] = static_cast<char>(last - 0x20);
      }
      i += 2;
    }
  }
  return folded;
}

std::optional<FolderIndex> FolderIndex::Build(const std::string& directory) {
  FolderIndex index;
  const bool read = ForEachEntry(directory, [&index](std::string_view name) {
    if (++index.entry_count_ > FOLDER_INDEX_MAX_ENTRIES) return false;
    OfferSmallest(index.entries_[FoldShiftJisName(name)].by_sjis, name);
    OfferSmallest(index.entries_[FoldUtf8Name(name)].by_utf8, name);
    return true;
  });
  if (!read) return std::nullopt;
  return index;
}

std::optional<std::string> FolderIndex::Scan(const std::string& directory,
                                             std::string_view name_sjis,
                                             const std::optional<std::string>& name_utf8) {
  const std::string folded_sjis = FoldShiftJisName(name_sjis);
  const std::string folded_utf8 = name_utf8 ? FoldUtf8Name(*name_utf8) : std::string();
  Entries found;
  ForEachEntry(directory, [&](std::string_view name) {
    if (FoldShiftJisName(name) == folded_sjis) OfferSmallest(found.by_sjis, name);
    if (name_utf8 && FoldUtf8Name(name) == folded_utf8) OfferSmallest(found.by_utf8, name);
    return true;
  });
  return found.by_sjis ? found.by_sjis : found.by_utf8;
}

std::optional<std::string> FolderIndex::Find(std::string_view name_sjis,
                                             const std::optional<std::string>& name_utf8) const {
  const auto by_sjis = entries_.find(FoldShiftJisName(name_sjis));
  if (by_sjis != entries_.end() && by_sjis->second.by_sjis) return by_sjis->second.by_sjis;
  if (!name_utf8) return std::nullopt;
  const auto by_utf8 = entries_.find(FoldUtf8Name(*name_utf8));
  if (by_utf8 != entries_.end()) return by_utf8->second.by_utf8;
  return std::nullopt;
}

bool FolderIndexes::Stamp::operator==(const Stamp& other) const {
  return device == other.device && inode == other.inode &&
         Nanoseconds(modified) == Nanoseconds(other.modified);
}

void FolderIndexes::MakeRoom(std::size_t count) {
  while (!folders_.empty() &&
         (entry_count_ + count > FOLDER_INDEX_MAX_ENTRIES || folders_.size() >= MAX_FOLDERS)) {
    Forget(folders_.begin());
  }
}

void FolderIndexes::Forget(std::map<std::string, Cached>::iterator folder) {
  entry_count_ -= folder->second.index ? folder->second.index->size() : 0;
  folders_.erase(folder);
}

std::optional<std::string> FolderIndexes::Find(const std::string& directory,
                                               std::string_view name_sjis,
                                               const std::optional<std::string>& name_utf8) {
  if (HasFewSpellings(name_sjis, true) && (!name_utf8 || HasFewSpellings(*name_utf8, false))) {
    std::optional<std::string> found = FindBySpelling(directory, name_sjis, true);
    if (!found && name_utf8) found = FindBySpelling(directory, *name_utf8, false);
    return found;
  }
  struct stat status {};
  if (stat(directory.empty() ? "." : directory.c_str(), &status) != 0) return std::nullopt;
  const Stamp stamp{status.st_dev, status.st_ino, status.st_mtim};
  const auto cached = folders_.find(directory);
  if (cached != folders_.end() && cached->second.settled && cached->second.stamp == stamp) {
    const std::optional<FolderIndex>& index = cached->second.index;
    return index ? index->Find(name_sjis, name_utf8)
                 : FolderIndex::Scan(directory, name_sjis, name_utf8);
  }
  if (cached != folders_.end()) Forget(cached);
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::optional<FolderIndex> index = FolderIndex::Build(directory);
  std::optional<std::string> found = index ? index->Find(name_sjis, name_utf8)
                                           : FolderIndex::Scan(directory, name_sjis, name_utf8);
  const std::size_t size = index ? index->size() : 0;
  MakeRoom(size);
  const bool settled = Nanoseconds(now) - Nanoseconds(stamp.modified) > UNSETTLED_NS;
  entry_count_ += size;
  folders_.emplace(directory, Cached{stamp, settled, std::move(index)});
  return found;
}
