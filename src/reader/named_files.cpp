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
    case NamedFile::Script: return N_("script");
    case NamedFile::Picture: return N_("picture");
    case NamedFile::Sound: return N_("sound");
    case NamedFile::Midi: return N_("MIDI file");
  }
  return N_("file");
}

std::string NamedFileMessage(NamedFile kind, ShiftJis& shift_jis, const char* name_sjis,
                             const std::string& problem) {
  return std::string(_(NamedFileWord(kind))) + " " + QuotedForMessage(shift_jis, name_sjis) + " " +
         problem;
}

std::optional<std::string> NamedFileProblem(NamedFile kind, Volume& volume, const char* name_sjis) {
  const FileOr<NovelFile> file = volume.Find(name_sjis);
  if (!file) {
    const bool chime = kind == NamedFile::Sound;
    return NamedFileMessage(kind, volume.shift_jis(), name_sjis,
                            DescribeFileError(file.error()) +
                                (chime ? _(": the reader plays its default chime instead") : ""));
  }
  if (kind != NamedFile::Picture) return std::nullopt;
  const ErrorOr<Bitmap, std::string> picture = LoadPicture(volume, name_sjis);
  if (picture) return std::nullopt;
  return NamedFileMessage(kind, volume.shift_jis(), name_sjis, picture.error());
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

std::string TrackProblemMessage(ShiftJis& shift_jis, int track, const TrackFileError& why) {
  if (why.error.problem != FileProblem::NotFound) {
    return Formatted(_("CD track %s: the file %s %s"), std::to_string(track),
                     QuotedForMessage(shift_jis, why.name_sjis.c_str()),
                     DescribeFileError(why.error));
  }
  char name[16];
  std::snprintf(name, sizeof name, "track%02d", track);
  return Formatted(_("CD track %s has no file: the reader looks for %s%s in the novel's folder "
                     "and in its cd/ folder"),
                   std::to_string(track), name, TrackExtensionsText());
}

std::string MidiPathTooLongMessage(const std::string& name_utf8, std::size_t path_length) {
  return Formatted(_("the path of MIDI file \"%s\" in this folder is %s bytes: the reader opens "
                     "paths of at most %s bytes"),
                   name_utf8, std::to_string(path_length), std::to_string(MIDI_PATH_MAX));
}
