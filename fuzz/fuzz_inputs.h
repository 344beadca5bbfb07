// What each fuzz target does with one input, shared by the libFuzzer targets and
// by the test that replays the inputs kept in fuzz/regressions/.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace fuzz {

using Input = std::span<const std::uint8_t>;

// A novel folder made from the input, read through the headless reader with clicks
// and menu commands. The input's parts are split at 0x1D bytes: the first is the
// first script; each further one is a file whose name is its first line.
void Script(Input input);
// A first script saved in UTF-8, the input after a byte order mark and the input as it
// is, read into the line table and checked as the reader and "yomu check" read it. Its
// conversion to Shift-JIS must keep every line end: a run that loses one aborts.
void Utf8Script(Input input);
// The bookmark file and the contents file (split at the first 0x1D), read at
// start-up and written back.
void DataFiles(Input input);
// A picture file.
void Bmp(Input input);
// A WAV file as a sound and as a CD track.
void Wave(Input input);
// An Ogg Vorbis file as a CD track.
void Ogg(Input input);
// A FLAC file, and an MP3 file, as CD tracks.
void Flac(Input input);
void Mp3(Input input);
// A MIDI file through the synthesizer's player.
void Midi(Input input);
// A soundfont's preset data cut to some programs; the cut must read back whole.
void SoundFont(Input input);
// An archive opened as a novel: its members catalogued, each file read.
void Archive(Input input);

// Closes the audio device that the targets that play keep open, and forgets its
// settings, so that what runs after them in the process finds the device free.
void ReleaseAudio();

struct Target {
  std::string_view name;
  void (*run)(Input input);
};
// The one list of the targets: CMake builds a program for each row and the scripts
// of fuzz/ read the names from here (fuzz/target-names.sh), one row a line.
// clang-format off
inline constexpr Target TARGETS[] = {
    {"script", Script},
    {"utf8_script", Utf8Script},
    {"data_files", DataFiles},
    {"bmp", Bmp},
    {"wave", Wave},
    {"ogg", Ogg},
    {"flac", Flac},
    {"mp3", Mp3},
    {"midi", Midi},
    {"soundfont", SoundFont},
    {"archive", Archive},
};
// clang-format on

}  // namespace fuzz
