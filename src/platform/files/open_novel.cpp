// A folder opens as a folder, anything else is tried as an archive.
#include "platform/files/open_novel.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/files/archive_volume.h"
#include "platform/files/folder_volume.h"

ErrorOr<OpenedNovel, std::string> OpenNovel(const std::string& path,
                                            std::string_view first_script_sjis) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) {
    return "cannot open the novel " + path + ": " + std::strerror(errno);
  }
  OpenedNovel opened;
  if (S_ISDIR(status.st_mode)) {
    auto folder = FolderVolume::Open(path);
    if (!folder) return folder.error();
    // Indexing the top folder now lets the names that extractors mangled be found
    // from the first file read on, the bookmarks.
    (void)(*folder)->FindIndexing(first_script_sjis);
    opened.volume = std::move(*folder);
    return opened;
  }
  if (!S_ISREG(status.st_mode)) return path + " is neither a novel folder nor an archive";
  auto archive = ArchiveVolume::Open(path, first_script_sjis, opened.notes);
  if (!archive) return archive.error();
  opened.volume = std::move(*archive);
  return opened;
}
