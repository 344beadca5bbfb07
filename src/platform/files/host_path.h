// Host file names for the Shift-JIS file names of scripts and data files.
//
// A byte 0x5C is a separator only where it is not the second byte of a double-byte
// character (ソ is 0x83 0x5C, 表 is 0x95 0x5C); '/' separates too. Each component is
// matched as the raw bytes, then as its CP932-to-UTF-8 conversion, then without
// regard to case, as the old file system did; so a novel unpacked with Shift-JIS
// names and one unpacked with UTF-8 names both work.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/folder_index.h"

class ShiftJis;

// The host names of one running reader, with the indexes of the folders it has
// looked in.
class HostNames {
 public:
  explicit HostNames(ShiftJis& shift_jis) : shift_jis_(shift_jis) {}
  HostNames(const HostNames&) = delete;
  HostNames& operator=(const HostNames&) = delete;

  // The host path of name_sjis relative to directory (a host path). A name that does
  // not exist yet resolves as far as it can; its missing part is taken as UTF-8.
  std::string Resolve(const std::string& directory, std::string_view name_sjis);
  // The entry of a folder (a host path) that matches an ASCII name without regard to
  // case, when none matches it exactly.
  std::optional<std::string> FindIgnoringCase(const std::string& directory,
                                              std::string_view name_ascii) {
    return indexes_.Find(directory, name_ascii, std::string(name_ascii));
  }

 private:
  ShiftJis& shift_jis_;
  FolderIndexes indexes_;
};

// The absolute path of an existing file or folder, links resolved; nothing when it
// does not exist.
std::optional<std::string> RealPath(const std::string& path);

// The parts of a Shift-JIS name between its separators, as HostNames::Resolve looks
// them up one by one.
std::vector<std::string_view> ShiftJisNameComponents(std::string_view name_sjis);
