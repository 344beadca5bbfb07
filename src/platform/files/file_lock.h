// Files that several readers write (two windows of one novel, a window and yomu
// check): each reads the file as it is now, merges its own change in and writes the
// result while it holds the file's lock: a flock on the folder that holds the file,
// which every reader of the file can open, so that no lock file lies among a novel's
// own files. A folder whose file system takes no locks is written without one.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/error_or.h"
#include "platform/files/regular_file.h"

// How long a reader waits for another's read-merge-write: a moment.
constexpr std::chrono::milliseconds FILE_LOCK_PATIENCE{1000};

struct LockRefusal {
  bool held = false;  // another reader holds it; else the folder cannot be opened
  std::string why;
};

class FileLock {
 public:
  // The lock of the file at path, taken within FILE_LOCK_PATIENCE; why not when it
  // cannot be had.
  static ErrorOr<FileLock, LockRefusal> Take(const std::string& path);

 private:
  explicit FileLock(std::optional<FileDescriptor> folder) : folder_(std::move(folder)) {}
  std::optional<FileDescriptor> folder_;  // the lock ends with it; none without locks
};

// flock(descriptor, operation) tried until it succeeds or patience runs out; false
// with errno EWOULDBLOCK when another holds it to the end.
bool LockWithin(int descriptor, int operation, std::chrono::milliseconds patience);
