// Whole-file encoding findings, each at the line where it shows.
#include "check/encoding_rules.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/files/volume.h"

namespace {

constexpr char CTRL_Z = 0x1A;
// Far more than the 700 lines of 255 bytes that the reader reads of a script.
constexpr std::uint64_t CHECKED_FILE_MAX_BYTES = std::uint64_t{8} * 1024 * 1024;

int LineAt(std::string_view bytes, std::size_t offset) {
  return 1 + static_cast<int>(std::count(
                 bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

// Old editors ended a file with Ctrl-Z; the text mode ends it there, so only text
// after it is lost.
void AddCtrlZ(std::string_view bytes, std::vector<ScriptFinding>& findings) {
  const std::size_t ctrl_z = bytes.find(CTRL_Z);
  if (ctrl_z == std::string_view::npos) return;
  const std::size_t text = bytes.find_first_not_of("\x1A\r\n \t", ctrl_z);
  if (text == std::string_view::npos) return;
  findings.push_back({LineAt(bytes, ctrl_z),
                      {Severity::Error,
                       "a Ctrl-Z byte ends the file for the reader: nothing after it is read, "
                       "though text follows on line " +
                           std::to_string(LineAt(bytes, text))}});
}

// A NUL ends the line for the reader: the rest of that line is never seen.
void AddNuls(std::string_view bytes, std::vector<ScriptFinding>& findings) {
  int line = 1;
  std::size_t line_start = 0;
  bool reported = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ++line;
      line_start = i + 1;
      reported = false;
    } else if (bytes[i] == '\0' && !reported) {
      reported = true;
      findings.push_back(
          {line,
           {Severity::Error, "NUL byte at column " + std::to_string(i - line_start) +
                                 ": the reader ends the line there, and the rest of it is "
                                 "never read"}});
    }
  }
}

}  // namespace

std::vector<ScriptFinding> EncodingFindings(std::string_view bytes, const AuthorTextNotes& notes) {
  std::vector<ScriptFinding> findings;
  if (notes.utf8) {
    // A finding of the whole file: line 0, as the JSON form says of such findings.
    findings.push_back({0,
                        {Severity::Warning,
                         "the file is in UTF-8: yomu converts it to Shift-JIS as it reads "
                         "it, but other readers of the format need Shift-JIS files"}});
  }
  for (const UnconvertedCharacter& character : notes.unconverted) {
    findings.push_back({character.line, UnconvertedProblem(character)});
  }
  AddCtrlZ(bytes, findings);
  AddNuls(bytes, findings);
  return findings;
}

std::optional<std::string> ReadCheckedFile(Volume& volume, const char* name_sjis,
                                           std::vector<ScriptFinding>& findings) {
  FileOr<std::string> bytes = volume.Read(name_sjis, CHECKED_FILE_MAX_BYTES);
  if (bytes) return std::move(*bytes);
  const FileProblem problem = bytes.error().problem;
  if (problem == FileProblem::TooLarge) {
    findings.push_back({0, {Severity::Error, "the file is larger than 8 MiB, far more than the "
                                             "reader reads: it is not checked"}});
  } else if (problem != FileProblem::NotFound) {
    findings.push_back({0, {Severity::Error, "the file " + DescribeFileError(bytes.error())}});
  }
  return std::nullopt;
}
