// Names found without regard to case, as the old file system found them, and in the
// forms that extractors give Shift-JIS names: one case-folded index per folder,
// built the first time a name is not found as written and built again when the
// folder changes. An archive's folders are indexed from their member names.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/novel_file.h"

// A name folded to lower case (ASCII letters and full-width Ａ-Ｚ) by its own
// Shift-JIS character boundaries: a trail byte that looks like a letter never folds.
std::string FoldShiftJisName(std::string_view name_sjis);
// A UTF-8 name folded to lower case (ASCII letters and full-width Ａ-Ｚ); the length
// stays the same.
std::string FoldUtf8Name(std::string_view name_utf8);

// Calls visit(name) for each entry of the folder open as directory_fd but "." and
// ".."; false when the folder cannot be read or visit stops by returning false.
bool ForEachFolderEntry(int directory_fd, const std::function<bool(std::string_view)>& visit);

// A stored name found for a wanted one, and how it matched.
struct FoundName {
  std::string name;
  NameMatch match = NameMatch::AsWritten;
};

// The folded keys under which a name that is not stored as written is looked for,
// in order: its Shift-JIS form, its UTF-8 form, then the forms of the extractors.
class NameProbes {
 public:
  NameProbes(std::string_view name_sjis, const std::optional<std::string>& name_utf8);

  struct Probe {
    std::string key;
    bool utf8 = false;  // the key folds a UTF-8 name, else a Shift-JIS one
    NameMatch match = NameMatch::IgnoringCase;
  };
  const std::vector<Probe>& list() const { return probes_; }

 private:
  std::vector<Probe> probes_;
};

// The entries of one folder by their folded names. The names lie one after another in
// one buffer and are found through a table of their folded forms' hashes, so that a
// folder of many files is indexed in about the time its listing takes to read, in
// about a third of the memory that maps from folded names to names take
// (BM_FolderIndexHeap).
// Several entries may fold alike (README.TXT and readme.txt): the smallest in byte
// order stands for them, so that the choice does not depend on the order in which
// the folder lists them.
class FolderIndex {
 public:
  // Nothing when the folder cannot be read or holds too many entries to index.
  static std::optional<FolderIndex> Build(int directory_fd);
  // As a folder that is too large to index is searched: entry by entry.
  static std::optional<FoundName> Scan(int directory_fd, const NameProbes& probes);

  void Add(std::string_view name);
  std::size_t size() const { return entries_.size(); }
  std::optional<FoundName> Find(const NameProbes& probes) const;

 private:
  // The two foldings a name is kept under: as Shift-JIS, and as UTF-8.
  static constexpr int FOLDINGS = 2;
  struct Entry {
    std::uint32_t offset = 0;  // of the name in names_
    std::uint32_t length = 0;
    std::uint32_t hashes[FOLDINGS] = {};  // of the name folded either way
  };
  std::string_view NameOf(const Entry& entry) const;
  // Keeps the name and its hashes, in no table yet.
  void Append(std::string_view name);
  // Tables of at most a quarter full for entry_count entries, all entries placed.
  void MakeTables(std::size_t entry_count);
  // Puts entries_[number] in the table of each folding.
  void Place(std::uint32_t number);

  std::string names_;
  std::vector<Entry> entries_;
  // Open addressing: an entry's number + 1 in the slot its hash leads to, or the next
  // free one; 0 is free. Both tables have the same power-of-two size.
  std::vector<std::uint32_t> slots_[FOLDINGS];
  std::string folded_;  // where Append folds each name
};

// The indexes of the folders looked in so far. A folder's index is built again when
// its modification time or identity changes, and also when it changed so shortly
// before the index was built that a later change could carry the same time.
class FolderIndexes {
 public:
  // As FolderIndex::Find in the folder open as directory_fd, kept under key. While a
  // folder has never been indexed, a name whose only letters are a few ASCII ones is
  // found by trying its spellings one by one, which costs less than reading a large
  // folder (the bookmark file and the contents file at start-up are such names); the
  // index is built for it only when build is set.
  std::optional<FoundName> Find(const std::string& key, int directory_fd,
                                std::string_view name_sjis,
                                const std::optional<std::string>& name_utf8, bool build = false);

 private:
  struct Cached {
    FileVersion stamp;                 // the folder's, with its modification time
    bool settled = false;              // false: built too soon after a change to be trusted later
    std::optional<FolderIndex> index;  // nothing: too large to index, searched each time
  };
  // Makes room for an index of count entries within the cap on all of them.
  void MakeRoom(std::size_t count);
  void Forget(std::map<std::string, Cached>::iterator folder);
  std::map<std::string, Cached> folders_;
  std::size_t entry_count_ = 0;  // in all indexes kept
};
