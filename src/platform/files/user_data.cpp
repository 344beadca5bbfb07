// The per-user folder of a novel under the user's data folder, and the reader's
// cache folder.
#include "platform/files/user_data.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/files/regular_file.h"
#include "platform/system_error.h"
#include "platform/translation.h"

namespace {

constexpr char APPLICATION_FOLDER[] = "/yomu/";
constexpr std::size_t KEY_NAME_MAX = 100;  // bytes of the folder name kept in the key
constexpr std::uint32_t FNV_OFFSET = 2166136261u;
constexpr std::uint32_t FNV_PRIME = 16777619u;
constexpr mode_t USER_DIRECTORY_MODE = 0700;
constexpr std::uint64_t USER_DIRS_MAX_BYTES = 64 * 1024;

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

// A folder of the user's by its XDG variable, else its place in the home folder.
std::optional<std::string> UserHome(const char* variable, const char* in_home) {
  if (std::optional<std::string> folder = AbsoluteVariable(variable)) return folder;
  if (std::optional<std::string> home = HomeDirectory()) return *home + in_home;
  return std::nullopt;
}

// The reader's own folder below a folder of the user's.
std::optional<std::string> ApplicationFolder(const char* variable, const char* in_home) {
  std::optional<std::string> home = UserHome(variable, in_home);
  if (!home) return std::nullopt;
  std::string folder = *home + APPLICATION_FOLDER;
  folder.pop_back();
  return folder;
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

// Where the reader's own folders begin on path: its application folder "yomu" (the last
// component of that name; a novel key never is one), else the last component. Above
// it lie the user's own folders, which may well be links (a home on another disk).
std::size_t OwnPartStart(const std::string& path) {
  constexpr std::string_view OWN = "/yomu";
  for (std::size_t at = path.rfind(OWN); at != std::string::npos && at > 0;
       at = path.rfind(OWN, at - 1)) {
    const std::size_t end = at + OWN.size();
    if (end == path.size() || path[end] == '/') return at;
  }
  return path.rfind('/');
}

ErrorOr<void, std::string> MakeFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string part = path.substr(0, slash);
    if (mkdir(part.c_str(), USER_DIRECTORY_MODE) != 0 && errno != EEXIST) {
      return Formatted(_("%s cannot be made: %s"), part, SystemError::FromErrno("mkdir").Describe());
    }
    if (slash == std::string::npos) return {};
  }
}

// Why name in folder cannot be one of the reader's own folders: a link, no folder,
// another user's, or what the system said when it was made or opened.
std::string Refusal(int folder, const std::string& name, const std::string& place,
                    const SystemError& error) {
  struct stat status {};
  if (error.code == 0) return Formatted(_("%s belongs to another user"), place);
  if (error.code != ENOTDIR && error.code != ELOOP) {
    return Formatted(_("%s cannot be made: %s"), place, error.Describe());
  }
  const bool link =
      fstatat(folder, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(status.st_mode);
  return Formatted(link ? _("%s is a link, not a folder") : _("%s is not a folder"), place);
}

// The folder name in parent, made first when make is set and opened without following
// a link, or why it is no folder of the user's.
ErrorOr<FileDescriptor, std::string> OpenOwnFolder(int parent, const std::string& name, bool make,
                                                   const std::string& place) {
  const int made = make && mkdirat(parent, name.c_str(), USER_DIRECTORY_MODE) != 0 ? errno : 0;
  FileDescriptor folder(
      openat(parent, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  SystemError error{"open", folder.get() < 0 ? errno : 0};
  // A folder that could not be made is missing for the mkdir's reason.
  if (error.code == ENOENT && made != 0) error = {"mkdir", made};
  struct stat status {};
  if (folder.get() >= 0 && fstat(folder.get(), &status) == 0 && status.st_uid == geteuid()) {
    return folder;
  }
  return Refusal(parent, name, place, error);
}

// Opens each of the reader's own folders on path from the one above.
ErrorOr<void, std::string> OpenOwnFolders(const std::string& path, bool make) {
  const std::size_t own = OwnPartStart(path);
  if (own == std::string::npos) return Formatted(_("%s is not a folder"), path);
  const std::string top = own == 0 ? "/" : path.substr(0, own);
  std::optional<FileDescriptor> folder(std::in_place,
                                       open(top.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder->get() < 0) {
    return Formatted(_("%s cannot be made: %s"), top, SystemError::FromErrno("open").Describe());
  }
  for (std::size_t start = own + 1; start <= path.size();) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    folder.emplace(TRY(
        OpenOwnFolder(folder->get(), path.substr(start, end - start), make, path.substr(0, end))));
    start = end + 1;
  }
  return {};
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
  std::optional<std::string> data_home = UserHome("XDG_DATA_HOME", "/.local/share");
  if (!data_home) return std::nullopt;
  return *data_home + APPLICATION_FOLDER + NovelKey(novel_real_path);
}

std::optional<std::string> UserCacheDirectory() {
  return ApplicationFolder("XDG_CACHE_HOME", "/.cache");
}

std::optional<std::string> UserConfigDirectory() {
  return ApplicationFolder("XDG_CONFIG_HOME", "/.config");
}

std::optional<std::string> UserStateDirectory() {
  return ApplicationFolder("XDG_STATE_HOME", "/.local/state");
}

std::optional<std::string> PicturesInUserDirs(std::string_view text, const std::string& home) {
  constexpr std::string_view KEY = "XDG_PICTURES_DIR=\"";
  std::optional<std::string> folder;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.starts_with(KEY) || !line.ends_with('"') || line.size() <= KEY.size()) continue;
    line = line.substr(KEY.size(), line.size() - KEY.size() - 1);
    std::string path;
    if (line.starts_with("$HOME")) {
      path = home;
      line.remove_prefix(5);
    }
    for (std::size_t k = 0; k < line.size(); ++k) {
      if (line[k] == '\\' && k + 1 < line.size()) ++k;
      path += line[k];
    }
    if (path.starts_with('/')) folder = path;
  }
  return folder;
}

std::optional<std::string> UserPicturesDirectory() {
  const std::optional<std::string> home = HomeDirectory();
  if (!home) return std::nullopt;
  const std::optional<std::string> settings = UserHome("XDG_CONFIG_HOME", "/.config");
  const FileOr<std::string> text =
      settings ? ReadRegularFile(*settings + "/user-dirs.dirs", USER_DIRS_MAX_BYTES)
               : FileError{FileProblem::NotFound, {}};
  if (std::optional<std::string> folder = text ? PicturesInUserDirs(*text, *home) : std::nullopt) {
    return folder;
  }
  return *home + "/Pictures";
}

ErrorOr<void, std::string> MakeUserDirectory(const std::string& path) {
  const std::size_t own = OwnPartStart(path);
  if (own != std::string::npos && own > 0) TRY(MakeFolders(path.substr(0, own)));
  return OpenOwnFolders(path, true);
}

bool IsOwnUserDirectory(const std::string& path) {
  return OpenOwnFolders(path, false).has_value();
}

ErrorOr<std::string, LeftAsItIs> UserFileToWrite(const std::string& path) {
  struct stat named {};
  if (lstat(path.c_str(), &named) != 0) return path;  // made anew
  std::string target = path;
  if (S_ISLNK(named.st_mode)) {
    char real[PATH_MAX];
    struct stat folder {};
    if (realpath(path.c_str(), real) == nullptr || stat(real, &named) != 0) {
      return LeftAsItIs{Formatted(_("%s is a link that leads nowhere"), path)};
    }
    target = real;
    const std::string parent = target.substr(0, std::max<std::size_t>(target.rfind('/'), 1));
    if (named.st_uid != geteuid() || stat(parent.c_str(), &folder) != 0 ||
        folder.st_uid != geteuid()) {
      return LeftAsItIs{
          Formatted(_("%s is a link to %s, which is not the user's own"), path, target)};
    }
  }
  if (!S_ISREG(named.st_mode)) return LeftAsItIs{Formatted(_("%s is not a regular file"), target)};
  // Made read-only by its owner, who may write it at will: root too is held to that.
  if ((named.st_mode & S_IWUSR) == 0) return LeftAsItIs{Formatted(_("%s is read-only"), target)};
  return target;
}
