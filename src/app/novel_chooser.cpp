// The novel asked for with the desktop's chooser.
#include "app/novel_chooser.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string_view>

#include "platform/desktop/file_chooser.h"
#include "platform/files/archive_reader.h"
#include "platform/files/open_novel.h"
#include "platform/files/volume.h"
#include "platform/shift_jis.h"
#include "platform/translation.h"
#include "platform/utf8_text.h"
#include "reader/texts.h"

namespace {

// A folder's novels beyond this many are not offered: the list is one menu. Each
// folder looked into is indexed, so a folder of many (a home) is looked at only so far.
constexpr std::size_t FOLDER_NOVELS_MAX = 40;
constexpr std::size_t FOLDER_ENTRIES_LOOKED_AT = 256;

// A script of the novel's folder (whose names may be stored in Shift-JIS, which the
// chooser cannot match), and the archives, in either case.
std::vector<std::string> NovelPatterns() {
  std::vector<std::string> patterns{"*.txt", "*.TXT"};
  for (std::string_view extension : ARCHIVE_EXTENSIONS) {
    std::string upper(extension);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    patterns.push_back("*" + std::string(extension));
    patterns.push_back("*" + upper);
  }
  return patterns;
}

bool IsNovelFolder(const std::string& path) {
  ErrorOr<OpenedNovel, std::string> opened = OpenNovel(path, texts::FIRST_SCRIPT);
  return opened && HoldsFirstScript(*opened->volume);
}

bool EndsWithTxt(std::string_view name) {
  if (name.size() < 4) return false;
  std::string ending(name.substr(name.size() - 4));
  for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ending == ".txt";
}

NovelChoice AsNovel(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error) || IsArchiveName(path)) {
    return {NovelChoice::Kind::Chosen, path, {}};
  }
  const std::string folder = path.substr(0, std::max<std::size_t>(1, path.rfind('/')));
  if (std::filesystem::is_regular_file(path, error) && EndsWithTxt(path) && IsNovelFolder(folder)) {
    return {NovelChoice::Kind::Chosen, folder, {}};
  }
  return {NovelChoice::Kind::Refused, {},
          Formatted(_("%s is neither a novel's folder nor an archive that yomu reads"), path)};
}

}  // namespace

bool HoldsFirstScript(Volume& volume) { return volume.Find(texts::FIRST_SCRIPT).has_value(); }

NovelChoice ChooseNovelOnDesktop() {
  ShiftJis shift_jis;
  ChooserRequest request{_("Choose a novel"), _("Novels (a script in their folder, or an archive)"),
                         NovelPatterns(), {}, _("Another novel…")};
  for (const RecentNovel& novel : ReadRecentNovels()) {
    request.recent.push_back({RecentLabel(novel, shift_jis), novel.path});
  }
  const ChooserAnswer answer = ChooseFile(request);
  switch (answer.kind) {
    case ChooserAnswer::Kind::Chosen: return AsNovel(answer.path);
    case ChooserAnswer::Kind::Cancelled: return {NovelChoice::Kind::Cancelled, {}, {}};
    case ChooserAnswer::Kind::Unavailable: return {};
  }
  return {};
}

std::string RecentLabel(const RecentNovel& novel, ShiftJis& shift_jis) {
  if (!novel.title_utf8.empty()) return novel.title_utf8;
  const std::string_view path = novel.path;
  return WellFormedUtf8Length(path) == path.size() ? novel.path : shift_jis.ToUtf8(path);
}

std::vector<std::string> NovelsInFolder(const std::string& folder) {
  std::vector<std::string> novels;
  std::error_code error;
  std::size_t looked_at = 0;
  for (std::filesystem::directory_iterator entry(folder, error), end;
       !error && entry != end && novels.size() < FOLDER_NOVELS_MAX &&
       looked_at++ < FOLDER_ENTRIES_LOOKED_AT;
       entry.increment(error)) {
    const std::string path = entry->path().string();
    if (entry->is_directory(error) ? IsNovelFolder(path)
                                   : entry->is_regular_file(error) && IsArchiveName(path)) {
      novels.push_back(path);
    }
  }
  std::sort(novels.begin(), novels.end());
  return novels;
}

std::optional<std::string> RememberOpenedNovel(const Volume& volume,
                                               const std::string& title_utf8) {
  const std::optional<std::string> why = RememberRecentNovel(volume.key_path(), title_utf8);
  if (!why) return std::nullopt;
  return Formatted(_("the novels opened last are not kept: %s"), *why);
}
