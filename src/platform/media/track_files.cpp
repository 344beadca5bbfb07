// Finding the file of a CD track: the novel's directory before its cd/ folder,
// and within each, Ogg Vorbis before FLAC, MP3 and WAV, each name as written
// before the folder's case-folded index is asked.
#include "platform/media/track_files.h"

#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <string_view>

#include "platform/files/host_path.h"

namespace {

constexpr std::array<std::string_view, 2> TRACK_FOLDERS = {"", "cd"};
constexpr std::array<std::string_view, 4> TRACK_EXTENSIONS = {"ogg", "flac", "mp3", "wav"};

enum class Entry { Missing, RegularFile, Other };

Entry Look(const std::string& path) {
  struct stat status {};
  if (lstat(path.c_str(), &status) != 0) return Entry::Missing;
  // A link counts as what it leads to.
  if (S_ISLNK(status.st_mode) && stat(path.c_str(), &status) != 0) return Entry::Other;
  return S_ISREG(status.st_mode) ? Entry::RegularFile : Entry::Other;
}

std::string InFolder(const std::string& folder, std::string_view name) {
  return folder.empty() ? std::string(name) : folder + "/" + std::string(name);
}

std::optional<std::string> FindInFolder(HostNames& names, const std::string& folder, int track) {
  for (std::string_view extension : TRACK_EXTENSIONS) {
    char name[32];
    std::snprintf(name, sizeof name, "track%02d.%.*s", track, static_cast<int>(extension.size()),
                  extension.data());
    const std::string path = InFolder(folder, name);
    const Entry as_written = Look(path);
    if (as_written == Entry::RegularFile) return path;
    if (as_written == Entry::Other) continue;
    const std::optional<std::string> found = names.FindIgnoringCase(folder, name);
    if (found && Look(InFolder(folder, *found)) == Entry::RegularFile)
      return InFolder(folder, *found);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> FindTrackFile(HostNames& names, const std::string& novel_directory,
                                         int track) {
  if (track < 1) return std::nullopt;
  for (std::string_view folder : TRACK_FOLDERS) {
    const std::string path =
        folder.empty() ? novel_directory : names.Resolve(novel_directory, folder);
    if (std::optional<std::string> found = FindInFolder(names, path, track)) return found;
  }
  return std::nullopt;
}
