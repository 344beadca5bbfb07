// The soundfont search: the user's choice, then the system's default GM bank
// (the alternatives link that soundfont packages maintain), then known banks.
#include "platform/media/soundfont_search.h"

#include <unistd.h>

#include <array>

namespace {

constexpr std::array<const char*, 5> KNOWN_SOUNDFONTS = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/etc/alternatives/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/FluidR3_GM.sf2",
    "/usr/share/soundfonts/default.sf2",
};

bool IsReadable(const char* path) { return access(path, R_OK) == 0; }

}  // namespace

std::optional<std::string> FindSoundFont(const std::optional<std::string>& chosen_file) {
  if (chosen_file) {
    if (IsReadable(chosen_file->c_str())) return chosen_file;
    return std::nullopt;
  }
  for (const char* path : KNOWN_SOUNDFONTS) {
    if (IsReadable(path)) return std::string(path);
  }
  return std::nullopt;
}
