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

std::vector<RecentNovel> ParseRecentNovels(std::string_view text) {
  std::vector<RecentNovel> recent;
  while (!text.empty() && recent.size() < RECENT_NOVELS_MAX) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    // A title never holds a tab (they are written as blanks), so the last one ends the path.
    const std::size_t tab = line.rfind('\t');
    RecentNovel novel{std::string(line.substr(0, tab)),
                      tab == std::string_view::npos ? "" : std::string(line.substr(tab + 1))};
    const auto same = [&](const RecentNovel& other) { return other.path == novel.path; };
    if (novel.path.starts_with('/') && std::none_of(recent.begin(), recent.end(), same)) {
      recent.push_back(std::move(novel));
    }
  }
  return recent;
}

std::vector<RecentNovel> WithRecentNovel(std::vector<RecentNovel> recent, RecentNovel novel) {
  std::replace(novel.title_utf8.begin(), novel.title_utf8.end(), '\t', ' ');
  for (auto kept = recent.begin(); kept != recent.end(); ++kept) {
    if (kept->path != novel.path) continue;
    if (novel.title_utf8.empty()) novel.title_utf8 = kept->title_utf8;
    recent.erase(kept);
    break;
  }
  recent.insert(recent.begin(), std::move(novel));
  if (recent.size() > RECENT_NOVELS_MAX) recent.resize(RECENT_NOVELS_MAX);
  return recent;
}

std::vector<RecentNovel> ReadRecentNovels() {
  const std::optional<std::string> path = RecentNovelsPath();
  const FileOr<std::string> text =
      path ? ReadRegularFile(*path, RECENT_FILE_MAX_BYTES) : FileError{FileProblem::NotFound, {}};
  return text ? ParseRecentNovels(*text) : std::vector<RecentNovel>{};
}

std::optional<std::string> RememberRecentNovel(const std::string& real_path,
                                               const std::string& title_utf8) {
  const std::optional<std::string> path = RecentNovelsPath();
  if (!path) return std::string(_("there is no home folder"));
  // A name with a line end would read back as two.
  if (real_path.find('\n') != std::string::npos || title_utf8.find('\n') != std::string::npos) {
    return std::string(_("its name holds a line end"));
  }
  // The novel opened last, opened again, changes nothing: the start waits for no write.
  if (const std::vector<RecentNovel> recent = ReadRecentNovels();
      !recent.empty() && recent.front().path == real_path &&
      (title_utf8.empty() || recent.front().title_utf8 == title_utf8)) {
    return std::nullopt;
  }
  const ErrorOr<std::string, LeftAsItIs> target = UserFileToWrite(*path);
  if (!target) return target.error().why;
  if (ErrorOr<void, std::string> made = MakeUserDirectory(path->substr(0, path->rfind('/')));
      !made) {
    return made.error();
  }
  // Read again under the lock: another reader may have put its novel first meanwhile.
  const ErrorOr<FileLock, LockRefusal> lock = FileLock::Take(*target);
  if (!lock) return lock.error().why;
  std::string text;
  for (const RecentNovel& novel : WithRecentNovel(ReadRecentNovels(), {real_path, title_utf8})) {
    text += novel.path + "\t" + novel.title_utf8 + "\n";
  }
  if (ErrorOr<void, std::string> written = TextFileWriter::WriteOwnFile(*target, text); !written) {
    return written.error();
  }
  return std::nullopt;
}
