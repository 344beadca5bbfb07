// Finding the file of a CD track: the novel's directory before its cd/ folder,
// and within each, Ogg Vorbis before FLAC, MP3 and WAV.
#include "platform/media/track_files.h"

#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <string_view>

#include "platform/files/host_path.h"

namespace {

constexpr std::array<std::string_view, 2> TRACK_FOLDERS = {"", "cd/"};
constexpr std::array<std::string_view, 4> TRACK_EXTENSIONS = {"ogg", "flac", "mp3", "wav"};

bool IsRegularFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

}  // namespace

std::optional<std::string> FindTrackFile(ShiftJis& shift_jis, const std::string& novel_directory, int track) {
  if (track < 1) return std::nullopt;
  for (std::string_view folder : TRACK_FOLDERS) {
    for (std::string_view extension : TRACK_EXTENSIONS) {
      char name[48];
      std::snprintf(name, sizeof name, "%.*strack%02d.%.*s", static_cast<int>(folder.size()), folder.data(),
                    track, static_cast<int>(extension.size()), extension.data());
      std::string path = ResolveHostPath(shift_jis, novel_directory, name);
      if (IsRegularFile(path)) return path;
    }
  }
  return std::nullopt;
}
