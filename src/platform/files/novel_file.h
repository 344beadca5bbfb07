// A file of a novel as a name finds it, and why a name finds none: the words that
// the reader's warnings and "yomu check" give.
#pragma once

#include <cstdint>
#include <string>

#include "platform/error_or.h"

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

// What follows a file's name in a message: "not found", "is not a regular file" ...
std::string DescribeFileError(const FileError& error);

// How a name was matched to the stored one.
enum class NameMatch {
  AsWritten,     // its bytes, or their UTF-8 form
  IgnoringCase,  // as the old file system matched names
  Mangled,       // the form an extractor gave a Shift-JIS name (see mangled_names.h)
};

struct NovelFile {
  std::string path;  // below the novel's top as stored, '/' between folders
  NameMatch match = NameMatch::AsWritten;
  std::uint64_t size = 0;
};
