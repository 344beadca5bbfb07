// The novel asked for with the desktop's chooser.
#include "app/novel_chooser.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/desktop/file_chooser.h"
#include "platform/files/archive_reader.h"
#include "platform/files/recent_novels.h"
#include "platform/files/volume.h"
#include "platform/translation.h"
#include "reader/texts.h"

namespace {

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

}  // namespace

bool HoldsFirstScript(Volume& volume) { return volume.Find(texts::FIRST_SCRIPT).has_value(); }

std::optional<std::string> ChooseNovel() {
  const ChooserRequest request{_("Choose a novel"),
                               _("Novels (a script in their folder, or an archive)"),
                               NovelPatterns(), ReadRecentNovels(), _("Another novel…")};
  const ChooserAnswer answer = ChooseFile(request);
  if (answer.kind != ChooserAnswer::Kind::Chosen) return std::nullopt;
  const std::string& path = answer.path;
  std::error_code error;
  if (std::filesystem::is_directory(path, error) || IsArchiveName(path)) return path;
  return path.substr(0, std::max<std::size_t>(1, path.rfind('/')));
}

void RememberOpenedNovel(Volume& volume) {
  if (const std::optional<std::string> why = RememberRecentNovel(volume.key_path())) {
    std::fprintf(stderr, "yomu: %s\n",
                 Formatted(_("the novels opened last are not kept: %s"), *why).c_str());
  }
}
