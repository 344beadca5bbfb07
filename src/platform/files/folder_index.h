// Names found without regard to case, as the old file system found them: one
// case-folded index per folder, built the first time a name is not found as
// written and built again when the folder changes.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// A name folded to lower case (ASCII letters and full-width Ａ-Ｚ) by its own
// Shift-JIS character boundaries: a trail byte that looks like a letter never folds.
std::string FoldShiftJisName(std::string_view name_sjis);
// A UTF-8 name folded to lower case (ASCII letters and full-width Ａ-Ｚ); the length
// stays the same.
std::string FoldUtf8Name(std::string_view name_utf8);

// The entries of one folder by their folded names. Several entries may fold alike
// (README.TXT and readme.txt): the smallest in byte order stands for them, so that
// the choice does not depend on the order in which the folder lists them.
class FolderIndex {
 public:
  // Nothing when the folder cannot be read or holds too many entries to index.
  static std::optional<FolderIndex> Build(const std::string& directory);
  std::size_t size() const { return entry_count_; }
  // As a folder that is too large to index is searched: entry by entry.
  static std::optional<std::string> Scan(const std::string& directory, std::string_view name_sjis,
                                         const std::optional<std::string>& name_utf8);

  // The entry that matches the Shift-JIS name without regard to case; else the one
  // that matches its UTF-8 form so.
  std::optional<std::string> Find(std::string_view name_sjis,
                                  const std::optional<std::string>& name_utf8) const;

 private:
  struct Entries {
    std::optional<std::string> by_sjis;
    std::optional<std::string> by_utf8;
  };
  std::unordered_map<std::string, Entries> entries_;
  std::size_t entry_count_ = 0;
};

// The indexes of the folders looked in so far. A folder's index is built again when
// its modification time or identity changes, and also when it changed so shortly
// before the index was built that a later change could carry the same time.
class FolderIndexes {
 public:
  // As FolderIndex::Find. A name whose only letters are a few ASCII ones is found by
  // trying its spellings one by one, which costs less than reading a large folder:
  // the bookmark file and the contents file at start-up are such names.
  std::optional<std::string> Find(const std::string& directory, std::string_view name_sjis,
                                  const std::optional<std::string>& name_utf8);

 private:
  struct Stamp {
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    bool operator==(const Stamp& other) const;
  };
  struct Cached {
    Stamp stamp;
    bool settled = false;              // false: built too soon after a change to be trusted later
    std::optional<FolderIndex> index;  // nothing: too large to index, searched each time
  };
  // Makes room for an index of count entries within the cap on all of them.
  void MakeRoom(std::size_t count);
  void Forget(std::map<std::string, Cached>::iterator folder);
  std::map<std::string, Cached> folders_;
  std::size_t entry_count_ = 0;  // in all indexes kept
};
