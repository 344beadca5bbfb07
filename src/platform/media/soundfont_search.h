// Where the General MIDI soundfont for MIDI music lies, found without configuration.
#pragma once

#include <optional>
#include <string>

// The file given on the command line when there is one, else the first readable
// of Debian's usual places. Nothing when none is there: MIDI music stays silent.
std::optional<std::string> FindSoundFont(const std::optional<std::string>& chosen_file);
