// The words of the reasons why a name gives no file.
#include "platform/files/novel_file.h"

std::string DescribeFileError(const FileError& error) {
  switch (error.problem) {
    case FileProblem::NotFound: return "not found";
    case FileProblem::NotRegularFile: return "is not a regular file";
    case FileProblem::OutsideNovel: return "leads outside the novel";
    case FileProblem::TooLarge: return "is larger than the reader ever reads of such a file";
    case FileProblem::Unreadable:
      return error.detail.empty() ? "cannot be read" : "cannot be read: " + error.detail;
    case FileProblem::Encrypted: return "is encrypted in the archive: the reader cannot read it";
  }
  return "cannot be read";
}
