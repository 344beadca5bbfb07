// The novels opened last.
#include "platform/files/recent_novels.h"

#include <algorithm>
#include <optional>

#include "platform/files/regular_file.h"
#include "platform/files/text_file.h"
#include "platform/files/user_data.h"

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

bool RememberRecentNovel(const std::string& real_path) {
  const std::optional<std::string> path = RecentNovelsPath();
  // A name with a line end would read back as two.
  if (!path || real_path.find('\n') != std::string::npos) return false;
  const std::vector<std::string> recent = ReadRecentNovels();
  // The novel opened last, opened again, changes nothing: the start waits for no write.
  if (!recent.empty() && recent.front() == real_path) return true;
  std::string text;
  for (const std::string& novel : WithRecentNovel(recent, real_path)) {
    text += novel + "\n";
  }
  return MakeUserDirectory(path->substr(0, path->rfind('/'))) &&
         TextFileWriter::WriteWhole(*path, text, TextFileWriter::LineEnds::Lf);
}
