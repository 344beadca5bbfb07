// The locks of the files that readers merge into: flocks on their folders.
#include "platform/files/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/translation.h"

namespace {

constexpr auto LOCK_RETRY = std::chrono::milliseconds(2);

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool LockWithin(int descriptor, int operation, std::chrono::milliseconds patience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (flock(descriptor, operation | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() > deadline) {
      errno = EWOULDBLOCK;
      return false;
    }
    std::this_thread::sleep_for(LOCK_RETRY);
  }
  return true;
}

ErrorOr<FileLock, LockRefusal> FileLock::Take(const std::string& path) {
  const std::string folder = FolderOf(path);
  FileDescriptor opened(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (opened.get() < 0) {
    return LockRefusal{false,
                       Formatted(_("%s cannot be opened (%s)"), folder, std::strerror(errno))};
  }
  if (LockWithin(opened.get(), LOCK_EX, FILE_LOCK_PATIENCE)) return FileLock(std::move(opened));
  if (errno == EWOULDBLOCK) {
    return LockRefusal{true, Formatted(_("another yomu is writing in %s"), folder)};
  }
  return FileLock(std::nullopt);  // a file system without locks (NFS, say)
}
