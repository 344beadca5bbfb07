// Where the General MIDI soundfont for MIDI music lies, found without configuration.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The places looked at, in order, when no file is given.
struct SoundFontPlaces {
  std::optional<std::string> synth_default;  // FluidSynth's own default soundfont
  std::vector<std::string> known_files;      // the usual files of Debian's soundfont packages
  std::vector<std::string> folders;          // then any .sf2 or .sf3 file in these, by name
};

// FluidSynth's setting, then Debian's usual files and soundfont folders.
SoundFontPlaces SystemSoundFontPlaces();

// The file given on the command line when there is one, else the first readable
// SoundFont 2 or 3 file of the places. Nothing when none is there: MIDI music stays
// silent.
std::optional<std::string> FindSoundFont(const std::optional<std::string>& chosen_file,
                                         const SoundFontPlaces& places = SystemSoundFontPlaces());
