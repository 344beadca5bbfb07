// The per-user folder of a novel under the user's data folder, and the reader's
// cache folder.
#include "platform/files/user_data.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr char APPLICATION_FOLDER[] = "/yomu/";
constexpr std::size_t KEY_NAME_MAX = 100;  // bytes of the folder name kept in the key
constexpr std::uint32_t FNV_OFFSET = 2166136261u;
constexpr std::uint32_t FNV_PRIME = 16777619u;
constexpr mode_t USER_DIRECTORY_MODE = 0700;

std::optional<std::string> AbsoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || value[0] != '/') return std::nullopt;
  return std::string(value);
}

std::optional<std::string> HomeDirectory() {
  if (std::optional<std::string> home = AbsoluteVariable("HOME")) return home;
  const passwd* entry = getpwuid(getuid());
  if (entry == nullptr || entry->pw_dir == nullptr || entry->pw_dir[0] != '/') return std::nullopt;
  return std::string(entry->pw_dir);
}

std::optional<std::string> UserDataHome() {
  if (std::optional<std::string> data_home = AbsoluteVariable("XDG_DATA_HOME")) return data_home;
  if (std::optional<std::string> home = HomeDirectory()) return *home + "/.local/share";
  return std::nullopt;
}

std::optional<std::string> UserCacheHome() {
  if (std::optional<std::string> cache_home = AbsoluteVariable("XDG_CACHE_HOME")) return cache_home;
  if (std::optional<std::string> home = HomeDirectory()) return *home + "/.cache";
  return std::nullopt;
}

// FNV-1a: the same path gives the same key on every machine and in every version.
std::uint32_t PathHash(const std::string& path) {
  std::uint32_t hash = FNV_OFFSET;
  for (unsigned char byte : path) hash = (hash ^ byte) * FNV_PRIME;
  return hash;
}

// Cut at a character boundary, so that a UTF-8 name stays readable.
std::string ShortName(std::string name) {
  if (name.size() <= KEY_NAME_MAX) return name;
  std::size_t end = KEY_NAME_MAX;
  while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
  name.resize(end);
  return name;
}

}  // namespace

std::string NovelKey(const std::string& novel_real_path) {
  std::string path = novel_real_path;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  std::string name = path.substr(path.rfind('/') + 1);
  if (name.empty()) name = "root";
  char hash[16];
  std::snprintf(hash, sizeof hash, "-%08x", static_cast<unsigned>(PathHash(path)));
  return ShortName(name) + hash;
}

std::optional<std::string> NovelUserDirectory(const std::string& novel_real_path) {
  std::optional<std::string> data_home = UserDataHome();
  if (!data_home) return std::nullopt;
  return *data_home + APPLICATION_FOLDER + NovelKey(novel_real_path);
}

std::optional<std::string> UserCacheDirectory() {
  std::optional<std::string> cache_home = UserCacheHome();
  if (!cache_home) return std::nullopt;
  std::string folder = *cache_home + APPLICATION_FOLDER;
  folder.pop_back();
  return folder;
}

bool MakeUserDirectory(const std::string& path) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (mkdir(part.c_str(), USER_DIRECTORY_MODE) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}
