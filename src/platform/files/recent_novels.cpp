// The novels opened last.
#include "platform/files/recent_novels.h"

#include <algorithm>
#include <optional>

#include "platform/files/file_lock.h"
#include "platform/files/regular_file.h"
#include "platform/files/text_file.h"
#include "platform/files/user_data.h"
#include "platform/translation.h"

namespace {

constexpr std::uint64_t RECENT_FILE_MAX_BYTES = 64 * 1024;

std::optional<std::string> RecentNovelsPath() {
  const std::optional<std::string> folder = UserStateDirectory();
  if (!folder) return std::nullopt;
  return *folder + "/recent-novels";
}

}  // namespace

std::vector<std::string> ParseRecentNovels(std::string_view text) {
  std::vector<std::string> recent;
  while (!text.empty() && recent.size() < RECENT_NOVELS_MAX) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string path(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (path.starts_with('/') && std::find(recent.begin(), recent.end(), path) == recent.end()) {
      recent.push_back(path);
    }
  }
  return recent;
}

std::vector<std::string> WithRecentNovel(std::vector<std::string> recent, const std::string& path) {
  std::erase(recent, path);
  recent.insert(recent.begin(), path);
  if (recent.size() > RECENT_NOVELS_MAX) recent.resize(RECENT_NOVELS_MAX);
  return recent;
}

std::vector<std::string> ReadRecentNovels() {
  const std::optional<std::string> path = RecentNovelsPath();
  const std::optional<std::string> text =
      path ? ReadRegularFile(*path, RECENT_FILE_MAX_BYTES) : std::nullopt;
  return text ? ParseRecentNovels(*text) : std::vector<std::string>{};
}

std::optional<std::string> RememberRecentNovel(const std::string& real_path) {
  const std::optional<std::string> path = RecentNovelsPath();
  if (!path) return std::string(_("there is no home folder"));
  // A name with a line end would read back as two.
  if (real_path.find('\n') != std::string::npos) return std::string(_("its name holds a line end"));
  // The novel opened last, opened again, changes nothing: the start waits for no write.
  if (const std::vector<std::string> recent = ReadRecentNovels();
      !recent.empty() && recent.front() == real_path) {
    return std::nullopt;
  }
  const ErrorOr<std::string, LeftAsItIs> target = UserFileToWrite(*path);
  if (!target) return target.error().why;
  if (!MakeUserDirectory(path->substr(0, path->rfind('/')))) {
    return Formatted(_("%s cannot be made"), path->substr(0, path->rfind('/')));
  }
  // Read again under the lock: another reader may have put its novel first meanwhile.
  const ErrorOr<FileLock, LockRefusal> lock = FileLock::Take(*target);
  if (!lock) return lock.error().why;
  std::string text;
  for (const std::string& novel : WithRecentNovel(ReadRecentNovels(), real_path)) {
    text += novel + "\n";
  }
  if (!TextFileWriter::WriteWhole(*target, text, TextFileWriter::LineEnds::Lf)) {
    return Formatted(_("%s cannot be written"), *target);
  }
  return std::nullopt;
}
