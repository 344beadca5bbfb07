// Screenshot file names.
#include "app/screenshot_name.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/png_file.h"

namespace {

constexpr char REPLACEMENT = '_';
constexpr char REFUSED_ELSEWHERE[] = "\\:*?\"<>|";
constexpr char BLANKS[] = " \t";

bool FileNameHolds(unsigned char byte) {
  return byte >= 0x20 && byte != 0x7F && byte != '/' &&
         std::strchr(REFUSED_ELSEWHERE, static_cast<char>(byte)) == nullptr;
}

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace

std::string FileNameOfTitle(const std::string& title_utf8) {
  const std::size_t first = title_utf8.find_first_not_of(BLANKS);
  if (first == std::string::npos) return "";
  std::string name = title_utf8.substr(first, title_utf8.find_last_not_of(BLANKS) - first + 1);
  for (char& byte : name) {
    if (!FileNameHolds(static_cast<unsigned char>(byte))) byte = REPLACEMENT;
  }
  if (name.front() == '.') name.front() = REPLACEMENT;
  return name;
}

std::string ScreenshotStem(const std::string& title_utf8, const std::string& stamp,
                           std::size_t name_max) {
  const std::size_t fixed = 1 + stamp.size() + NEW_PNG_NAME_ENDING;  // "-STAMP", "-100.png"
  std::size_t end = name_max > fixed ? std::min(title_utf8.size(), name_max - fixed) : 0;
  while (end > 0 && end < title_utf8.size() && IsContinuationByte(title_utf8[end])) --end;
  if (end == 0) return stamp;
  return title_utf8.substr(0, end) + "-" + stamp;
}
