// Finding the file of a CD track: the novel's folder before its cd/ folder, and
// within each, Ogg Vorbis before FLAC, MP3 and WAV.
#include "platform/media/track_files.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "platform/files/volume.h"
#include "platform/media/track_formats.h"

namespace {

constexpr std::array<std::string_view, 2> TRACK_FOLDERS = {"", "cd\\"};

}  // namespace

ErrorOr<NovelFile, TrackFileError> FindTrackFile(Volume& volume, int track) {
  TrackFileError first{};
  if (track < 1) return first;
  for (std::string_view folder : TRACK_FOLDERS) {
    for (const TrackFormat& format : TRACK_FORMATS) {
      const std::string_view extension = format.extension;
      char name[40];
      std::snprintf(name, sizeof name, "%.*strack%02d.%.*s", static_cast<int>(folder.size()),
                    folder.data(), track, static_cast<int>(extension.size()), extension.data());
      FileOr<NovelFile> file = volume.Find(name);
      if (file) return *file;
      if (first.error.problem == FileProblem::NotFound) first = {name, file.error()};
    }
  }
  return first;
}
