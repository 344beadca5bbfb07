// Host paths for the Shift-JIS file names of scripts: splitting a name at its
// separators and matching each component against the entries of its host directory,
// as written first and then through the folder's case-folded index.
#include "platform/files/host_path.h"

#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/files/folder_index.h"
#include "platform/shift_jis.h"

namespace {

constexpr unsigned char SJIS_BACKSLASH = 0x5C;
constexpr std::string_view UTF8_REPLACEMENT = "\xEF\xBF\xBD";

struct SplitName {
  bool absolute = false;
  std::vector<std::string_view> components_sjis;  // never empty strings
};

bool IsSeparator(unsigned char byte) { return byte == SJIS_BACKSLASH || byte == '/'; }

// A 0x5C after a lead byte is the second half of a character (ソ, 表), not a
// separator. '/' always separates: it is never a trail byte of a real character,
// and a host name cannot hold it.
SplitName SplitShiftJisName(std::string_view name_sjis) {
  SplitName split;
  split.absolute = !name_sjis.empty() && IsSeparator(name_sjis[0]);
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < name_sjis.size()) {
    const auto byte = static_cast<unsigned char>(name_sjis[i]);
    if (IsSeparator(byte)) {
      if (i > start) split.components_sjis.push_back(name_sjis.substr(start, i - start));
      start = ++i;
    } else if (IsShiftJisLeadByte(byte) && i + 1 < name_sjis.size() && name_sjis[i + 1] != '/') {
      i += 2;
    } else {
      ++i;
    }
  }
  if (i > start) split.components_sjis.push_back(name_sjis.substr(start, i - start));
  return split;
}

bool IsDotComponent(std::string_view component) { return component == "." || component == ".."; }

std::string JoinPath(const std::string& directory, std::string_view name) {
  if (directory.empty()) return std::string(name);
  std::string path = directory;
  if (path.back() != '/') path += '/';
  path += name;
  return path;
}

bool EntryExists(const std::string& path) {
  struct stat status {};
  return lstat(path.c_str(), &status) == 0;
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

class HostPathResolver {
 public:
  HostPathResolver(ShiftJis& shift_jis, FolderIndexes& indexes, std::string base)
      : shift_jis_(shift_jis), indexes_(indexes), base_(std::move(base)) {}

  void Enter(std::string_view component_sjis) {
    if (component_sjis == ".") return;
    if (component_sjis == "..") return GoUp();
    if (missing_from_ != NONE) {
      resolved_.push_back(NewName(component_sjis));  // nothing to find below a missing directory
      return;
    }
    std::optional<std::string> found = Find(component_sjis);
    if (!found) missing_from_ = resolved_.size();
    resolved_.push_back(found ? std::move(*found) : NewName(component_sjis));
  }

  std::string Path() const {
    std::string path = base_;
    for (const std::string& name : resolved_) path = JoinPath(path, name);
    return path;
  }

 private:
  static constexpr std::size_t NONE = static_cast<std::size_t>(-1);

  // Up by name, as the old file system did, not through a symbolic link's target.
  void GoUp() {
    if (!resolved_.empty() && resolved_.back() != "..") {
      resolved_.pop_back();
      if (missing_from_ >= resolved_.size()) missing_from_ = NONE;
    } else if (base_ != "/" || !resolved_.empty()) {
      resolved_.push_back("..");
    }
  }

  // The UTF-8 form, or nothing when some byte does not convert.
  std::optional<std::string> Utf8Name(std::string_view component_sjis) {
    if (IsAscii(component_sjis)) return std::string(component_sjis);
    std::string name_utf8 = shift_jis_.ToUtf8(component_sjis);
    if (name_utf8.empty() || name_utf8.find(UTF8_REPLACEMENT) != std::string::npos) return std::nullopt;
    return name_utf8;
  }

  // A file about to be created gets a UTF-8 name where the bytes allow it.
  std::string NewName(std::string_view component_sjis) {
    std::optional<std::string> name_utf8 = Utf8Name(component_sjis);
    return name_utf8 ? std::move(*name_utf8) : std::string(component_sjis);
  }

  std::optional<std::string> Find(std::string_view component_sjis) {
    const std::string directory = Path();
    std::string raw(component_sjis);
    if (EntryExists(JoinPath(directory, raw))) return raw;
    std::optional<std::string> name_utf8 = Utf8Name(component_sjis);
    if (name_utf8 && *name_utf8 != raw && EntryExists(JoinPath(directory, *name_utf8))) return name_utf8;
    return indexes_.Find(directory, component_sjis, name_utf8);
  }

  ShiftJis& shift_jis_;
  FolderIndexes& indexes_;
  std::string base_;
  std::vector<std::string> resolved_;  // host names below base_
  std::size_t missing_from_ = NONE;    // index of the first name not found on the host
};

// Most names exist as written; one look at the whole path saves a look per level.
std::optional<std::string> ExistingRawPath(const std::string& base, const SplitName& split) {
  if (split.components_sjis.size() < 2) return std::nullopt;  // the per-name look is this one look
  const auto& components = split.components_sjis;
  if (std::any_of(components.begin(), components.end(), IsDotComponent)) return std::nullopt;
  std::string path = base;
  for (std::string_view component : components) path = JoinPath(path, component);
  if (EntryExists(path)) return path;
  return std::nullopt;
}

}  // namespace

std::string HostNames::Resolve(const std::string& directory, std::string_view name_sjis) {
  // The old platform saw the name as a C string: it ends at the first NUL.
  name_sjis = name_sjis.substr(0, name_sjis.find('\0'));
  const SplitName split = SplitShiftJisName(name_sjis);
  std::string base = split.absolute ? std::string("/") : directory;
  if (std::optional<std::string> path = ExistingRawPath(base, split)) return *path;
  HostPathResolver resolver(shift_jis_, indexes_, std::move(base));
  for (std::string_view component : split.components_sjis) resolver.Enter(component);
  return resolver.Path();
}

std::optional<std::string> RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr) return std::nullopt;
  return std::string(resolved);
}

std::vector<std::string_view> ShiftJisNameComponents(std::string_view name_sjis) {
  return SplitShiftJisName(name_sjis.substr(0, name_sjis.find('\0'))).components_sjis;
}
