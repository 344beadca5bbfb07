// The files that script lines name, as the reader finds them: what keeps it from
// using one, in the words of the reader's warnings and of "yomu check".
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/media/track_files.h"

// The name buffers of the commands: at most one byte less of name, and a terminator.
constexpr std::size_t SCRIPT_NAME_SIZE = 100;  // "FI", contents and bookmarks
constexpr std::size_t PICTURE_NAME_SIZE = 20;  // "BMP"
constexpr std::size_t WAVE_NAME_SIZE = 20;     // "WAV"
constexpr std::size_t MIDI_NAME_SIZE = 256;    // "MID"
// The MIDI open command holds 255 bytes, 33 of them its own text.
constexpr std::size_t MIDI_PATH_MAX = 222;

class ShiftJis;
class Volume;

enum class NamedFile { Script, Picture, Sound, Midi };
// "script", "picture", "sound", "MIDI file", as written: translate with _().
const char* NamedFileWord(NamedFile kind);
// The file's kind in the reader's language, its name, and what is wrong with it.
std::string NamedFileMessage(NamedFile kind, ShiftJis& shift_jis, const char* name_sjis,
                             const std::string& problem);

// Nothing when the reader can use the file that a line names; else what is wrong,
// as "picture \"yoru.bmp\" not found".
std::optional<std::string> NamedFileProblem(NamedFile kind, Volume& volume,
                                            const char* name_sjis);
// What a novel without its first script holds instead, for the message that says it
// cannot start: archives that yomu reads, and folders that hold the script. Empty
// when there is neither; else sentences, each after a line feed.
std::string WhatStandsInstead(Volume& volume, const char* first_script_sjis);
// The message for a CD track without a file to play: none of its names is there, or
// the one there cannot be read, and why.
std::string TrackProblemMessage(ShiftJis& shift_jis, int track, const TrackFileError& why);
// The message for a MIDI path (directory, separator, name) that the open command
// cannot hold.
std::string MidiPathTooLongMessage(const std::string& name_utf8, std::size_t path_length);
