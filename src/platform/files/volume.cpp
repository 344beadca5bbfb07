// The walk of a name through a novel's folders, shared by folders on disk and
// archives: splitting at separators, "." and ".." by name within the top, and each
// part matched first as written, then through the folder's index.
#include "platform/files/volume.h"

#include <algorithm>
#include <utility>

#include "platform/files/mangled_names.h"
#include "platform/files/path_parts.h"
#include "platform/utf8_text.h"

namespace {

constexpr unsigned char SJIS_BACKSLASH = 0x5C;
constexpr std::string_view UTF8_REPLACEMENT = "\xEF\xBF\xBD";

// The old platform saw a name as a C string: it ends at the first NUL.
PathParts SplitShiftJisName(std::string_view name_sjis) {
  return SplitPath(name_sjis.substr(0, name_sjis.find('\0')),
                   Backslash::SeparatesOutsideCharacters);
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool IsDotPart(std::string_view part) { return part == "." || part == ".."; }

std::string JoinAll(const std::vector<std::string>& parts) {
  std::string path;
  for (const std::string& part : parts) path = JoinPath(path, part);
  return path;
}

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  if (name.empty()) return std::string(folder);
  std::string path(folder);
  if (path.back() != '/') path += '/';
  path += name;
  return path;
}

Volume::Volume(std::string place, std::string key_path)
    : place_(std::move(place)), key_path_(std::move(key_path)) {}

std::optional<std::string> Volume::Utf8Name(std::string_view part_sjis) {
  if (IsAscii(part_sjis)) return std::string(part_sjis);
  std::string name_utf8 = shift_jis_.ToUtf8(part_sjis);
  if (name_utf8.empty() || name_utf8.find(UTF8_REPLACEMENT) != std::string::npos) {
    return std::nullopt;
  }
  return name_utf8;
}

std::optional<FoundName> Volume::FindPart(const std::string& folder, std::string_view part_sjis) {
  std::string raw(part_sjis);
  if (HasEntry(JoinPath(folder, raw))) return FoundName{std::move(raw), NameMatch::AsWritten};
  std::optional<std::string> utf8 = Utf8Name(part_sjis);
  if (utf8 && *utf8 != raw && HasEntry(JoinPath(folder, *utf8))) {
    return FoundName{std::move(*utf8), NameMatch::AsWritten};
  }
  if (std::optional<FoundName> found = FindOtherwise(folder, part_sjis, utf8)) return found;
  return FindUnzipSplit(folder, part_sjis);
}

// unzip takes every 0x5C of a name that Windows stored without a '/' for a folder's
// end, the second byte of a character too (ソ, 表): such a name lies in the folders
// that its pieces make, each in unzip's form of the DOS code page.
std::optional<FoundName> Volume::FindUnzipSplit(const std::string& folder,
                                                std::string_view part_sjis) {
  if (part_sjis.find(static_cast<char>(SJIS_BACKSLASH)) == std::string_view::npos) {
    return std::nullopt;
  }
  const std::optional<std::string> mangled = MangledName(part_sjis, Mangling::UnzipOemToIso);
  if (!mangled) return std::nullopt;
  std::string found;
  for (std::size_t start = 0;;) {
    const std::size_t end = mangled->find(static_cast<char>(SJIS_BACKSLASH), start);
    const std::string piece = mangled->substr(start, end - start);
    if (piece.empty() || !HasEntry(JoinPath(folder, JoinPath(found, piece)))) return std::nullopt;
    found = JoinPath(found, piece);
    if (end == std::string::npos) return FoundName{std::move(found), NameMatch::Mangled};
    start = end + 1;
  }
}

Volume::Walk Volume::WalkName(std::string_view name_sjis) {
  const PathParts split = SplitShiftJisName(name_sjis);
  Walk walk;
  if (split.absolute) {
    walk.outside = true;
    return walk;
  }
  const auto& parts = split.names;
  // Most names are stored as written: one look at the whole path saves a look a part.
  if (parts.size() > 1 && std::none_of(parts.begin(), parts.end(), IsDotPart)) {
    std::string path;
    for (std::string_view part : parts) path = JoinPath(path, part);
    if (HasEntry(path)) {
      walk.file.path = std::move(path);
      return walk;
    }
  }
  std::vector<std::string> found;  // stored names below the top
  std::size_t missing_from = std::string::npos;
  for (std::string_view part : parts) {
    if (part == ".") continue;
    if (part == "..") {
      // Up by name, as the old file system went, never through a link's target.
      if (found.empty()) {
        walk.outside = true;
        return walk;
      }
      found.pop_back();
      if (missing_from >= found.size()) missing_from = std::string::npos;
      continue;
    }
    std::optional<FoundName> entry;
    if (missing_from == std::string::npos) entry = FindPart(JoinAll(found), part);
    if (!entry) {
      if (missing_from == std::string::npos) missing_from = found.size();
      // A file about to be made gets a UTF-8 name where the bytes allow it.
      found.push_back(Utf8Name(part).value_or(std::string(part)));
      continue;
    }
    walk.file.match = std::max(walk.file.match, entry->match);
    found.push_back(std::move(entry->name));
  }
  walk.missing = missing_from != std::string::npos || found.empty();
  walk.file.path = JoinAll(found);
  return walk;
}

FileOr<NovelFile> Volume::Find(std::string_view name_sjis) {
  Walk walk = WalkName(name_sjis);
  if (walk.outside) return FileError{FileProblem::OutsideNovel, {}};
  if (walk.missing) return FileError{FileProblem::NotFound, {}};
  return Inspect(std::move(walk.file));
}

FileOr<std::unique_ptr<ByteSource>> Volume::Open(std::string_view name_sjis,
                                                 std::uint64_t max_bytes) {
  FileOr<NovelFile> file = Find(name_sjis);
  if (!file) return file.error();
  if (file->size > max_bytes) return FileError{FileProblem::TooLarge, {}};
  return Open(*file);
}

FileOr<std::string> Volume::Read(std::string_view name_sjis, std::uint64_t max_bytes) {
  FileOr<std::unique_ptr<ByteSource>> source = Open(name_sjis, max_bytes);
  if (!source) return source.error();
  std::string bytes(static_cast<std::size_t>((*source)->size()), '\0');
  const std::size_t count =
      (*source)->ReadAt(0, {reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()});
  if (count < bytes.size()) return FileError{FileProblem::Unreadable, "it ends early"};
  return bytes;
}

std::string_view Volume::BelowPlace(std::string_view path_sjis) {
  if (!place_sjis_) place_sjis_ = shift_jis_.FromUtf8(place_).value_or(place_);
  const std::string& place = *place_sjis_;
  if (path_sjis.size() > place.size() && path_sjis.starts_with(place) &&
      IsPathSeparator(path_sjis[place.size()], Backslash::Separates)) {
    return path_sjis.substr(place.size() + 1);
  }
  return path_sjis;
}

std::string Volume::DisplayName(std::string_view stored_name) {
  // Stored names are UTF-8 or Shift-JIS bytes; Shift-JIS is shown converted.
  if (WellFormedUtf8Length(stored_name) == stored_name.size()) return std::string(stored_name);
  return shift_jis_.ToUtf8(stored_name);
}
