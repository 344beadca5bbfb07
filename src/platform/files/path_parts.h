// A path cut into its names at its separators, as novels' scripts and archives'
// members write paths.
#pragma once

#include <string_view>
#include <vector>

// '/' always separates. Whether '\' does depends on who wrote the path.
enum class Backslash {
  InName,                      // a byte of the name: raw bytes, where it may end a character
  Separates,                   // a Windows separator, in a UTF-8 name
  SeparatesOutsideCharacters,  // in Shift-JIS, but not as the second byte of a character
};

struct PathParts {
  bool absolute = false;                // the path begins with a separator
  std::vector<std::string_view> names;  // never empty strings: "a//b" is "a" and "b"
};

bool IsPathSeparator(char byte, Backslash backslash);
PathParts SplitPath(std::string_view path, Backslash backslash);
