// Named files: found or not, and pictures that the reader's decoder refuses.
#include "reader/named_files.h"

#include <cstdio>

#include "platform/files/archive_reader.h"
#include "platform/files/volume.h"
#include "platform/gdi/picture_file.h"
#include "platform/media/track_formats.h"
#include "platform/translation.h"
#include "reader/reading_warnings.h"

namespace {

// A folder of thousands of files is not searched whole for a message.
constexpr std::size_t NAMES_LOOKED_AT = 1000;

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

std::optional<std::string> NamedFileProblem(NamedFile kind, Volume& volume, const char* name_sjis) {
  const std::string named =
      std::string(NamedFileWord(kind)) + " " + QuotedForMessage(volume.shift_jis(), name_sjis);
  const FileOr<NovelFile> file = volume.Find(name_sjis);
  if (!file) {
    const bool chime = kind == NamedFile::Sound;
    return named + " " + DescribeFileError(file.error()) +
           (chime ? ": the reader plays its default chime instead" : "");
  }
  if (kind != NamedFile::Picture) return std::nullopt;
  const ErrorOr<Bitmap, std::string> picture = LoadPicture(volume, name_sjis);
  if (picture) return std::nullopt;
  return named + " " + picture.error();
}

std::string WhatStandsInstead(Volume& volume, const char* first_script_sjis) {
  std::string archives;
  std::string folders;
  const std::vector<std::string> names = volume.List("");
  for (std::size_t k = 0; k < names.size() && k < NAMES_LOOKED_AT; ++k) {
    const std::string quoted = "\"" + volume.DisplayName(names[k]) + "\"";
    if (IsArchiveName(names[k])) {
      archives += (archives.empty() ? "" : ", ") + quoted;
    } else if (volume.Find(names[k] + "/" + first_script_sjis)) {
      folders += (folders.empty() ? "" : ", ") + quoted;
    }
  }
  std::string instead;
  if (!archives.empty()) {
    instead += "\n" + Formatted(_("It holds the archive %s: yomu reads an archive as it is, "
                                  "open that instead."),
                                archives);
  }
  if (!folders.empty()) {
    instead += "\n" + Formatted(_("Its folder %s holds the first script: open that folder "
                                  "instead."),
                                folders);
  }
  return instead;
}

std::string MissingTrackMessage(int track) {
  char name[16];
  std::snprintf(name, sizeof name, "track%02d", track);
  return "CD track " + std::to_string(track) + " has no file: the reader looks for " + name +
         TrackExtensionsText() + " in the novel's folder and in its cd/ folder";
}

std::string MidiPathTooLongMessage(const std::string& name_utf8, std::size_t path_length) {
  return "the path of MIDI file \"" + name_utf8 + "\" in this folder is " +
         std::to_string(path_length) + " bytes: the reader opens paths of at most " +
         std::to_string(MIDI_PATH_MAX) + " bytes";
}
