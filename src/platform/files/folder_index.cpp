// The case-folded index of a folder's names, the keys a name is probed under, and
// the indexes of the folders looked in, each checked against its folder's
// modification time.
#include "platform/files/folder_index.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/files/mangled_names.h"
#include "platform/files/read_limits.h"
#include "platform/shift_jis.h"

namespace {

// Folders whose indexes are kept; a novel looks in only a few.
constexpr std::size_t MAX_FOLDERS = 64;
// Names with at most this many ASCII letters are looked for spelling by spelling.
constexpr int MAX_SPELLING_LETTERS = 4;

unsigned char FoldAscii(unsigned char byte) {
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Full-width Ａ-Ｚ (0x82 0x60-0x79) folds onto ａ-ｚ (0x82 0x81-0x9A).
unsigned char FoldShiftJisTrail(unsigned char lead, unsigned char trail) {
  return (lead == 0x82 && trail >= 0x60 && trail <= 0x79) ? static_cast<unsigned char>(trail + 0x21)
                                                          : trail;
}

void FoldShiftJis(std::string& name) {
  for (std::size_t i = 0; i < name.size();) {
    const std::size_t length = ShiftJisCharacterLength(name, i);
    const auto byte = static_cast<unsigned char>(name[i]);
    if (length == 2) {
      const auto trail = static_cast<unsigned char>(name[i + 1]);
      name[i + 1] = static_cast<char>(FoldShiftJisTrail(byte, trail));
    } else {
      name[i] = static_cast<char>(FoldAscii(byte));
    }
    i += length;
  }
}

// Full-width Ａ-Ｚ (EF BC A1-BA) folds onto ａ-ｚ (EF BD 81-9A).
void FoldUtf8(std::string& name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (byte < 0x80) {
      name[i] = static_cast<char>(FoldAscii(byte));
    } else if (byte == 0xEF && i + 2 < name.size() && name[i + 1] == '\xBC') {
      const auto last = static_cast<unsigned char>(name[i + 2]);
      if (last >= 0xA1 && last <= 0xBA) {
        name[i + 1] = '\xBD';
        name[i + 2] = static_cast<char>(last - 0x20);
      }
      i += 2;
    }
  }
}

// The name folded into folded, whose buffer is used again from name to name.
void FoldInto(std::string& folded, std::string_view name, bool utf8) {
  folded.assign(name);
  if (utf8) {
    FoldUtf8(folded);
  } else {
    FoldShiftJis(folded);
  }
}

std::uint32_t HashOf(std::string_view folded) {
  return static_cast<std::uint32_t>(std::hash<std::string_view>{}(folded));
}

bool IsDotEntry(std::string_view name) { return name == "." || name == ".."; }

struct DirectoryCloser {
  void operator()(DIR* directory) const { closedir(directory); }
};

void OfferSmallest(std::optional<std::string>& best, std::string_view entry) {
  if (!best || entry < *best) best = std::string(entry);
}

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

bool IsFullWidthLetterShiftJis(std::string_view name, std::size_t i) {
  if (ShiftJisCharacterLength(name, i) != 2 || static_cast<unsigned char>(name[i]) != 0x82) {
    return false;
  }
  const auto trail = static_cast<unsigned char>(name[i + 1]);
  return (trail >= 0x60 && trail <= 0x79) || (trail >= 0x81 && trail <= 0x9A);
}

// Where the next character of a name begins. In a Shift-JIS name the byte after a lead
// byte is a trail byte, never a letter, as the name is folded.
std::size_t NextCharacter(std::string_view name, std::size_t i, bool shift_jis) {
  return i + (shift_jis ? ShiftJisCharacterLength(name, i) : 1);
}

// A name whose letters are all ASCII and few: a full-width Ａ-Ｚ or ａ-ｚ, which folds
// too, leaves the name to the index.
bool HasFewSpellings(std::string_view name, bool shift_jis) {
  int letters = 0;
  for (std::size_t i = 0; i < name.size(); i = NextCharacter(name, i, shift_jis)) {
    if (shift_jis ? IsFullWidthLetterShiftJis(name, i) : IsFullWidthLetterUtf8(name, i)) {
      return false;
    }
    if (IsAsciiLetter(static_cast<unsigned char>(name[i]))) ++letters;
  }
  return letters <= MAX_SPELLING_LETTERS;
}

// Every spelling of the name's ASCII letters in either case; the smallest that exists.
std::optional<std::string> FindBySpelling(int directory_fd, std::string_view name,
                                          bool shift_jis) {
  std::vector<std::size_t> letters;
  for (std::size_t i = 0; i < name.size(); i = NextCharacter(name, i, shift_jis)) {
    if (IsAsciiLetter(static_cast<unsigned char>(name[i]))) letters.push_back(i);
  }
  std::optional<std::string> best;
  std::string spelling(name);
  for (unsigned mask = 0; mask < (1u << letters.size()); ++mask) {
    for (std::size_t bit = 0; bit < letters.size(); ++bit) {
      const auto byte = static_cast<unsigned char>(name[letters[bit]]);
      spelling[letters[bit]] = static_cast<char>((mask >> bit) & 1 ? byte ^ 0x20 : byte);
    }
    struct stat status {};
    if (fstatat(directory_fd, spelling.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0) {
      OfferSmallest(best, spelling);
    }
  }
  return best;
}

std::optional<FoundName> Spelled(std::optional<std::string> name, std::string_view wanted) {
  if (!name) return std::nullopt;
  const NameMatch match = *name == wanted ? NameMatch::AsWritten : NameMatch::IgnoringCase;
  return FoundName{std::move(*name), match};
}

}  // namespace

bool ForEachFolderEntry(int directory_fd, const std::function<bool(std::string_view)>& visit) {
  // A listing of its own: fdopendir takes the descriptor it is given.
  const int listing_fd = openat(directory_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (listing_fd < 0) return false;
  std::unique_ptr<DIR, DirectoryCloser> listing(fdopendir(listing_fd));
  if (!listing) {
    close(listing_fd);
    return false;
  }
  while (const dirent* entry = readdir(listing.get())) {
    const std::string_view name(entry->d_name);
    if (!IsDotEntry(name) && !visit(name)) return false;
  }
  return true;
}

std::string FoldShiftJisName(std::string_view name_sjis) {
  std::string folded;
  FoldInto(folded, name_sjis, false);
  return folded;
}

std::string FoldUtf8Name(std::string_view name_utf8) {
  std::string folded;
  FoldInto(folded, name_utf8, true);
  return folded;
}

NameProbes::NameProbes(std::string_view name_sjis, const std::optional<std::string>& name_utf8) {
  probes_.push_back({FoldShiftJisName(name_sjis), false, NameMatch::IgnoringCase});
  if (name_utf8) probes_.push_back({FoldUtf8Name(*name_utf8), true, NameMatch::IgnoringCase});
  for (const Mangling how : MANGLINGS) {
    std::optional<std::string> mangled = MangledName(name_sjis, how);
    if (!mangled) break;  // a name of ASCII alone has no other forms
    const bool utf8 = MangledAsUtf8(how);
    probes_.push_back(
        {utf8 ? FoldUtf8Name(*mangled) : FoldShiftJisName(*mangled), utf8, NameMatch::Mangled});
  }
}

std::optional<FolderIndex> FolderIndex::Build(int directory_fd) {
  FolderIndex index;
  const bool read = ForEachFolderEntry(directory_fd, [&index](std::string_view name) {
    if (index.size() >= FOLDER_INDEX_MAX_ENTRIES) return false;
    index.Append(name);
    return true;
  });
  if (!read) return std::nullopt;
  // The tables are made once, at their size, when the whole listing is in.
  index.MakeTables(index.entries_.size());
  return index;
}

std::string_view FolderIndex::NameOf(const Entry& entry) const {
  return std::string_view(names_).substr(entry.offset, entry.length);
}

void FolderIndex::Add(std::string_view name) {
  Append(name);
  if (2 * entries_.size() > slots_[0].size()) {
    MakeTables(entries_.size());
  } else {
    Place(static_cast<std::uint32_t>(entries_.size() - 1));
  }
}

void FolderIndex::Append(std::string_view name) {
  Entry entry{static_cast<std::uint32_t>(names_.size()), static_cast<std::uint32_t>(name.size())};
  for (int folding = 0; folding < FOLDINGS; ++folding) {
    FoldInto(folded_, name, folding == 1);
    entry.hashes[folding] = HashOf(folded_);
  }
  names_.append(name);
  entries_.push_back(entry);
}

void FolderIndex::MakeTables(std::size_t entry_count) {
  std::size_t size = 16;
  while (size < 4 * entry_count) size *= 2;
  for (auto& table : slots_) table.assign(size, 0);
  for (std::uint32_t number = 0; number < entries_.size(); ++number) Place(number);
}

void FolderIndex::Place(std::uint32_t number) {
  const std::size_t mask = slots_[0].size() - 1;
  for (int folding = 0; folding < FOLDINGS; ++folding) {
    std::vector<std::uint32_t>& table = slots_[folding];
    std::size_t slot = entries_[number].hashes[folding] & mask;
    while (table[slot] != 0) slot = (slot + 1) & mask;
    table[slot] = number + 1;
  }
}

std::optional<FoundName> FolderIndex::Scan(int directory_fd, const NameProbes& probes) {
  const auto& list = probes.list();
  std::vector<std::optional<std::string>> found(list.size());
  std::string folded[2];
  ForEachFolderEntry(directory_fd, [&](std::string_view name) {
    FoldInto(folded[0], name, false);
    FoldInto(folded[1], name, true);
    for (std::size_t k = 0; k < list.size(); ++k) {
      if (list[k].key == folded[list[k].utf8 ? 1 : 0]) OfferSmallest(found[k], name);
    }
    return true;
  });
  for (std::size_t k = 0; k < list.size(); ++k) {
    if (found[k]) return FoundName{std::move(*found[k]), list[k].match};
  }
  return std::nullopt;
}

std::optional<FoundName> FolderIndex::Find(const NameProbes& probes) const {
  if (entries_.empty()) return std::nullopt;
  const std::size_t mask = slots_[0].size() - 1;
  std::string folded;
  for (const NameProbes::Probe& probe : probes.list()) {
    const int folding = probe.utf8 ? 1 : 0;
    const std::vector<std::uint32_t>& table = slots_[folding];
    const std::uint32_t hash = HashOf(probe.key);
    std::optional<std::string_view> best;
    for (std::size_t slot = hash & mask; table[slot] != 0; slot = (slot + 1) & mask) {
      const Entry& entry = entries_[table[slot] - 1];
      if (entry.hashes[folding] != hash) continue;
      const std::string_view name = NameOf(entry);
      FoldInto(folded, name, probe.utf8);
      if (folded == probe.key && (!best || name < *best)) best = name;
    }
    if (best) return FoundName{std::string(*best), probe.match};
  }
  return std::nullopt;
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

std::optional<FoundName> FolderIndexes::Find(const std::string& key, int directory_fd,
                                             std::string_view name_sjis,
                                             const std::optional<std::string>& name_utf8,
                                             bool build) {
  struct stat status {};
  if (fstat(directory_fd, &status) != 0) return std::nullopt;
  const FileVersion stamp{status.st_dev, status.st_ino, Nanoseconds(status.st_mtim)};
  const auto cached = folders_.find(key);
  const bool indexed_before = cached != folders_.end();
  const bool current = indexed_before && cached->second.settled && cached->second.stamp == stamp;
  if (!indexed_before && HasFewSpellings(name_sjis, true) &&
      (!name_utf8 || HasFewSpellings(*name_utf8, false))) {
    std::optional<FoundName> found =
        Spelled(FindBySpelling(directory_fd, name_sjis, true), name_sjis);
    if (!found && name_utf8) {
      found = Spelled(FindBySpelling(directory_fd, *name_utf8, false), *name_utf8);
    }
    if (found || !build) return found;
  }
  const NameProbes probes(name_sjis, name_utf8);
  if (current) {
    const std::optional<FolderIndex>& index = cached->second.index;
    return index ? index->Find(probes) : FolderIndex::Scan(directory_fd, probes);
  }
  if (cached != folders_.end()) Forget(cached);
  const std::int64_t now = NowNanoseconds();
  std::optional<FolderIndex> index = FolderIndex::Build(directory_fd);
  std::optional<FoundName> found =
      index ? index->Find(probes) : FolderIndex::Scan(directory_fd, probes);
  const std::size_t size = index ? index->size() : 0;
  MakeRoom(size);
  const bool settled = SettledChange(stamp.changed_ns, now);
  entry_count_ += size;
  folders_.emplace(key, Cached{stamp, settled, std::move(index)});
  return found;
}
