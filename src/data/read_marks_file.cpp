// The read marks' file.
#include "data/read_marks_file.h"

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/file_lock.h"
#include "platform/files/regular_file.h"
#include "platform/files/text_file.h"
#include "platform/files/user_data.h"
#include "platform/translation.h"
#include "reader/reader.h"

namespace {

constexpr char FILE_NAME[] = "/read-marks";
constexpr std::string_view HEADER = "yomu read marks 1\n";
constexpr std::size_t MARK_DIGITS = 16;
constexpr std::uint64_t FILE_MAX_BYTES = HEADER.size() + READ_MARKS_MAX * (MARK_DIGITS + 1);

std::optional<std::string> MarksPath(const Platform& platform) {
  if (!platform.user_directory) return std::nullopt;
  return *platform.user_directory + FILE_NAME;
}

// The marks of the file's text; nothing when a line is no mark.
std::optional<std::vector<std::uint64_t>> ParseMarks(std::string_view text) {
  if (!text.starts_with(HEADER)) return std::nullopt;
  text.remove_prefix(HEADER.size());
  std::vector<std::uint64_t> marks;
  while (!text.empty()) {
    std::uint64_t mark = 0;
    const std::string_view line = text.substr(0, MARK_DIGITS);
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), mark, 16);
    if (line.size() < MARK_DIGITS || error != std::errc() || end != line.data() + MARK_DIGITS ||
        text.substr(MARK_DIGITS, 1) != "\n") {
      return std::nullopt;
    }
    marks.push_back(mark);
    text.remove_prefix(MARK_DIGITS + 1);
  }
  return marks;
}

std::string MarksText(const ReadMarks& marks) {
  std::string text(HEADER);
  char line[MARK_DIGITS + 2];
  for (const std::uint64_t mark : marks.Sorted()) {
    std::snprintf(line, sizeof line, "%016llx\n", static_cast<unsigned long long>(mark));
    text += line;
  }
  return text;
}

// The marks of the file as another reader may have left it, added to the reader's,
// and the whole written, under the file's lock.
ErrorOr<void, std::string> MergeAndWriteMarks(const std::string& path, ReadMarks& marks) {
  const ErrorOr<FileLock, LockRefusal> lock = FileLock::Take(path);
  if (!lock) return lock.error().why;
  TextFileWriter::RemoveInterruptedWrites(path);
  const FileOr<std::string> text = ReadRegularFile(path, FILE_MAX_BYTES);
  if (const auto saved = text ? ParseMarks(*text) : std::nullopt) marks.Merge(*saved);
  return TextFileWriter::WriteOwnFile(path, MarksText(marks));
}

}  // namespace

void LoadReadMarks(Reader& r) {
  const std::optional<std::string> path = MarksPath(r.platform);
  // A folder that is no folder of the user's own (a planted link) is never read.
  if (!path || !IsOwnUserDirectory(*r.platform.user_directory)) return;
  const FileOr<std::string> text = ReadRegularFile(*path, FILE_MAX_BYTES);
  const std::optional<std::vector<std::uint64_t>> marks = text ? ParseMarks(*text) : std::nullopt;
  if (marks) {
    r.aids.read_marks.Replace(*marks);
  } else if (text) {
    r.platform.Warn(Formatted(_("the read marks in %s are damaged or too many and are not "
                                "used: what was read is read anew"),
                              *path));
  } else if (text.error().problem != FileProblem::NotFound) {
    r.platform.Warn(Formatted(_("the read marks in %s are not used: the file %s"), *path,
                              DescribeFileError(text.error())));
  }
}

void SaveReadMarks(Reader& r) {
  ReadMarks& marks = r.aids.read_marks;
  const std::optional<std::string> path = MarksPath(r.platform);
  if (!marks.unsaved || !path) return;
  marks.unsaved = false;
  marks.saved_ms = r.platform.NowMs();
  if (const ErrorOr<void, std::string> made = MakeUserDirectory(*r.platform.user_directory); !made) {
    r.platform.Warn(Formatted(_("%s: read marks are not saved there"), made.error()));
  } else if (const ErrorOr<void, std::string> saved = MergeAndWriteMarks(*path, marks); !saved) {
    r.platform.Warn(Formatted(_("the read marks cannot be saved: %s"), saved.error()));
  }
}

void SaveReadMarksWhenDue(Reader& r) {
  const ReadMarks& marks = r.aids.read_marks;
  if (marks.unsaved && r.platform.NowMs() - marks.saved_ms >= READ_MARKS_SAVE_EVERY_MS) {
    SaveReadMarks(r);
  }
}
