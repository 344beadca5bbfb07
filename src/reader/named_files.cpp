// Named files: found or not, and pictures that the reader's decoder refuses.
#include "reader/named_files.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <span>

#include "platform/files/regular_file.h"
#include "platform/gdi/bmp_header.h"
#include "platform/gdi/picture_file.h"

namespace {

bool IsRegularFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// Read as the reader reads a picture, through its own decoder.
std::optional<std::string> PictureProblem(const std::string& host_path) {
  const std::optional<std::string> bytes = ReadRegularFile(host_path, PICTURE_FILE_MAX_BYTES);
  if (!bytes) return "is too large to be a picture";
  const std::span file(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size());
  const bool bitmap = bytes->compare(0, 2, "BM") == 0;
  if (!bitmap) return "is not a Windows bitmap";
  if (!ReadBmpHeader(file) || !DecodeBitmapFile(file)) {
    return "is damaged, cut short or of a kind the reader does not show: it cannot decode its "
           "pixels";
  }
  return std::nullopt;
}

}  // namespace

const char* NamedFileWord(NamedFile kind) {
  switch (kind) {
    case NamedFile::Script: return "script";
    case NamedFile::Picture: return "picture";
    case NamedFile::Sound: return "sound";
    case NamedFile::Midi: return "MIDI file";
  }
  return "file";
}

std::optional<std::string> NamedFileProblem(NamedFile kind, const std::string& host_path,
                                            const std::string& name_utf8) {
  const std::string named = std::string(NamedFileWord(kind)) + " \"" + name_utf8 + "\"";
  if (!IsRegularFile(host_path)) {
    return named + (kind == NamedFile::Sound
                        ? " not found: the reader plays its default chime instead"
                        : " not found");
  }
  if (kind != NamedFile::Picture) return std::nullopt;
  const std::optional<std::string> problem = PictureProblem(host_path);
  if (!problem) return std::nullopt;
  return named + " " + *problem;
}

std::string MissingTrackMessage(int track) {
  char text[160];
  std::snprintf(text, sizeof text,
                "CD track %d has no file: the reader looks for track%02d.ogg, .flac, .mp3 or .wav "
                "in the novel's folder and in its cd/ folder",
                track, track);
  return text;
}

std::string MidiPathTooLongMessage(const std::string& name_utf8, std::size_t path_length) {
  return "the path of MIDI file \"" + name_utf8 + "\" in this folder is " +
         std::to_string(path_length) + " bytes: the reader opens paths of at most " +
         std::to_string(MIDI_PATH_MAX) + " bytes";
}
