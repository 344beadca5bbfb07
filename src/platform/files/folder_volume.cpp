// A novel's folder: names checked with fstatat below the folder, files opened with
// openat2 and RESOLVE_BENEATH (and checked through /proc where a link is absolute
// or the kernel lacks openat2), case-blind and mangled names through the folders'
// indexes.
#include "platform/files/folder_volume.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/files/read_limits.h"

namespace {

// The real path of an open descriptor, through /proc; empty when it cannot be told.
std::string DescriptorPath(int descriptor) {
  char link[64];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
  char target[PATH_MAX];
  const ssize_t length = readlink(link, target, sizeof target - 1);
  if (length <= 0) return {};
  return std::string(target, static_cast<std::size_t>(length));
}

bool IsBelow(const std::string& path, const std::string& folder) {
  return path == folder || (path.size() > folder.size() && path.starts_with(folder) &&
                            (folder == "/" || path[folder.size()] == '/'));
}

}  // namespace

ErrorOr<std::unique_ptr<FolderVolume>, std::string> FolderVolume::Open(const std::string& path) {
  char real[PATH_MAX];
  if (realpath(path.c_str(), real) == nullptr) {
    return "cannot open " + path + ": " + std::strerror(errno);
  }
  FileDescriptor top(open(real, O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (top.get() < 0) return path + " is not a folder";
  return std::unique_ptr<FolderVolume>(new FolderVolume(real, std::move(top)));
}

FolderVolume::FolderVolume(std::string real_path, FileDescriptor top)
    : Volume(real_path, real_path), top_(std::move(top)) {}

int FolderVolume::OpenBelow(const std::string& path, int flags) {
  const char* relative = path.empty() ? "." : path.c_str();
  open_how how{};
  how.flags = static_cast<std::uint64_t>(flags | O_CLOEXEC);
  how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
  const long opened = syscall(SYS_openat2, top_.get(), relative, &how, sizeof how);
  if (opened >= 0) return static_cast<int>(opened);
  // EXDEV: a link leads out, or is absolute and may still lead inside; ENOSYS: an
  // older kernel. Either way the file opened is checked for where it lies.
  if (errno != EXDEV && errno != ENOSYS) return -1;
  FileDescriptor file(openat(top_.get(), relative, flags | O_CLOEXEC));
  if (file.get() < 0) return -1;
  if (!IsBelow(DescriptorPath(file.get()), place())) {
    errno = EXDEV;
    return -1;
  }
  return dup(file.get());
}

bool FolderVolume::HasEntry(const std::string& path) {
  struct stat status {};
  return fstatat(top_.get(), path.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
}

std::optional<FoundName> FolderVolume::FindOtherwise(const std::string& folder,
                                                     std::string_view part_sjis,
                                                     const std::optional<std::string>& part_utf8) {
  const FileDescriptor directory(OpenBelow(folder, O_RDONLY | O_DIRECTORY));
  if (directory.get() < 0) return std::nullopt;
  std::optional<FoundName> found =
      indexes_.Find(folder, directory.get(), part_sjis, part_utf8, build_indexes_ || mangled_);
  // Once one name is found mangled, every folder may hold such names.
  if (found && found->match == NameMatch::Mangled) mangled_ = true;
  return found;
}

FileOr<NovelFile> FolderVolume::FindIndexing(std::string_view name_sjis) {
  build_indexes_ = true;
  FileOr<NovelFile> found = Find(name_sjis);
  build_indexes_ = false;
  return found;
}

FileOr<NovelFile> FolderVolume::Inspect(NovelFile file) {
  // O_PATH: nothing is opened for reading, so a device or a FIFO is only looked at.
  const FileDescriptor handle(OpenBelow(file.path, O_PATH));
  if (handle.get() < 0) {
    if (errno == EXDEV || errno == ELOOP) return FileError{FileProblem::OutsideNovel, {}};
    if (errno == ENOENT) return FileError{FileProblem::NotFound, {}};
    return FileError{FileProblem::Unreadable, std::strerror(errno)};
  }
  struct stat status {};
  if (fstat(handle.get(), &status) != 0) {
    return FileError{FileProblem::Unreadable, std::strerror(errno)};
  }
  if (!S_ISREG(status.st_mode) || status.st_size < 0) {
    return FileError{FileProblem::NotRegularFile, {}};
  }
  file.size = static_cast<std::uint64_t>(status.st_size);
  file.version = {static_cast<std::uint64_t>(status.st_dev),
                  static_cast<std::uint64_t>(status.st_ino), Nanoseconds(status.st_ctim)};
  return file;
}

FileOr<std::unique_ptr<ByteSource>> FolderVolume::Open(const NovelFile& file) {
  // O_NONBLOCK: a FIFO put in the file's place since it was found cannot block.
  FileDescriptor descriptor(OpenBelow(file.path, O_RDONLY | O_NOCTTY | O_NONBLOCK));
  if (descriptor.get() < 0) {
    if (errno == EXDEV || errno == ELOOP) return FileError{FileProblem::OutsideNovel, {}};
    return FileError{FileProblem::Unreadable, std::strerror(errno)};
  }
  return std::unique_ptr<ByteSource>(
      std::make_unique<RegularFile>(TRY(RegularFile::FromDescriptor(std::move(descriptor)))));
}

std::optional<std::string> FolderVolume::HostPathForWriting(std::string_view name_sjis) {
  const Walk walk = WalkName(name_sjis);
  if (walk.outside || walk.file.path.empty()) return std::nullopt;
  return JoinPath(place(), walk.file.path);
}

std::vector<std::string> FolderVolume::List(const std::string& folder) {
  std::vector<std::string> names;
  const FileDescriptor directory(OpenBelow(folder, O_RDONLY | O_DIRECTORY));
  if (directory.get() < 0) return names;
  ForEachFolderEntry(directory.get(), [&names](std::string_view name) {
    names.emplace_back(name);
    return names.size() < FOLDER_INDEX_MAX_ENTRIES;
  });
  std::sort(names.begin(), names.end());
  return names;
}
