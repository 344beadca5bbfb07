// The media command strings that the reader sends, parsed. Only these strings are
// understood; any other string is no command at all.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// One row each in VERB_FORMS (media_commands.cpp), in this order: a new verb is an
// enumerator and its row, and the compiler names the switches over the verbs.
enum class MediaVerb {
  OpenCd,           // "open cdaudio"
  SetCdTimeFormat,  // "set cdaudio time format tmsf"
  PlayCdFrom,       // "play cdaudio from N"
  StopCd,           // "stop cdaudio"
  CloseCd,          // "close cdaudio"
  OpenMidi,         // "open \"PATH\" type sequencer alias midi"
  SeekMidiStart,    // "seek midi to start"
  PlayMidi,         // "play midi", also with one trailing space
  CloseMidi,        // "close midi"
};

struct MediaCommand {
  MediaVerb verb;
  int track = 0;           // PlayCdFrom
  std::string path_sjis;   // OpenMidi: the path between the quotes, as sent
};

std::optional<MediaCommand> ParseMediaCommand(std::string_view command_sjis);
