// A file of a novel as a name finds it, and why a name finds none: the words that
// the reader's warnings and "yomu check" give.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/error_or.h"
#include "platform/system_error.h"

enum class FileProblem {
  NotFound,
  NotRegularFile,  // a folder, a FIFO, a device, or a link to one
  OutsideNovel,    // an absolute name, ".." above the novel's folder, or a link leading out
  TooLarge,        // larger than the reader ever reads of its kind
  Unreadable,      // the system or the archive refused to give its bytes
  Encrypted,       // an archive member stored with a password
};

struct FileError {
  FileProblem problem = FileProblem::NotFound;
  std::string detail;  // the system's or the archive's own words, when there are any
};

template <typename T>
using FileOr = ErrorOr<T, FileError>;

// A failed call's error as a read's: a missing file is not found, any other refusal
// is unreadable for the system's reason.
FileError FileErrorOf(const SystemError& error);

// What follows a file's name in a message: "not found", "is not a regular file" ...
std::string DescribeFileError(const FileError& error);

// How a name was matched to the stored one.
enum class NameMatch {
  AsWritten,     // its bytes, or their UTF-8 form
  IgnoringCase,  // as the old file system matched names
  Mangled,       // the form an extractor gave a Shift-JIS name (see mangled_names.h)
};

// Which file on disk a name found, and when it last changed: while these and the size
// stay the same, bytes read from it earlier are its bytes still. All 0 in an archive,
// whose members do not change while the reader holds it open. A folder's, with its
// modification time, tells the same of its list of names.
struct FileVersion {
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  std::int64_t changed_ns = 0;  // a file's inode change time, which a write or a rename moves
  bool operator==(const FileVersion&) const = default;
};

// A system time in nanoseconds, and the time now.
std::int64_t Nanoseconds(const timespec& time);
std::int64_t NowNanoseconds();
// Whether what was read at read_ns of a file or folder last changed at changed_ns stays
// true for as long as its time does: file times are kept to a clock tick, not a
// nanosecond, and a change less than a second from the read may share its time with
// a later one.
bool SettledChange(std::int64_t changed_ns, std::int64_t read_ns);

struct NovelFile {
  std::string path;  // below the novel's top as stored, '/' between folders
  NameMatch match = NameMatch::AsWritten;
  std::uint64_t size = 0;
  FileVersion version;
};

// Whether two finds of a name came to the same bytes.
inline bool SameBytes(const NovelFile& a, const NovelFile& b) {
  return a.path == b.path && a.size == b.size && a.version == b.version;
}
