// Separators found character by character where '\' can be half of a Shift-JIS
// character (ソ, 表); '/' is never the second byte of one, so it always separates.
#include "platform/files/path_parts.h"

#include "platform/shift_jis.h"

namespace {

std::size_t CharacterLength(std::string_view path, std::size_t pos, Backslash backslash) {
  return backslash == Backslash::SeparatesOutsideCharacters
             ? ShiftJisWholeCharacterLength(path, pos)
             : 1;
}

}  // namespace

bool IsPathSeparator(char byte, Backslash backslash) {
  return byte == '/' || (byte == '\\' && backslash != Backslash::InName);
}

PathParts SplitPath(std::string_view path, Backslash backslash) {
  PathParts parts;
  parts.absolute = !path.empty() && IsPathSeparator(path[0], backslash);
  std::size_t start = 0;
  std::size_t pos = 0;
  while (pos < path.size()) {
    if (IsPathSeparator(path[pos], backslash)) {
      if (pos > start) parts.names.push_back(path.substr(start, pos - start));
      start = ++pos;
    } else {
      pos += CharacterLength(path, pos, backslash);
    }
  }
  if (pos > start) parts.names.push_back(path.substr(start, pos - start));
  return parts;
}
