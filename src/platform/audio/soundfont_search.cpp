// The soundfont search: the user's choice, then FluidSynth's own default, then the
// system's default GM banks (the alternatives links that soundfont packages
// maintain), known banks, and whatever bank the soundfont folders hold.
#include "platform/audio/soundfont_search.h"

#include <fluidsynth.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>

namespace {

constexpr char SYNTH_DEFAULT_SOUNDFONT[] = "synth.default-soundfont";

bool IsReadable(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), R_OK) == 0;
}

bool IsSoundFontName(const std::filesystem::path& path) {
  const std::string extension = path.extension().string();
  return extension == ".sf2" || extension == ".sf3" || extension == ".SF2" || extension == ".SF3";
}

std::optional<std::string> SynthDefault() {
  std::unique_ptr<fluid_settings_t, void (*)(fluid_settings_t*)> settings(new_fluid_settings(),
                                                                          delete_fluid_settings);
  char* value = nullptr;
  if (!settings ||
      fluid_settings_dupstr(settings.get(), SYNTH_DEFAULT_SOUNDFONT, &value) != FLUID_OK ||
      value == nullptr) {
    return std::nullopt;
  }
  std::string path(value);
  fluid_free(value);
  return path;
}

std::optional<std::string> FirstInFolder(const std::string& folder) {
  std::error_code error;
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    if (IsSoundFontName(entry.path()) && IsReadable(entry.path().string())) {
      found.push_back(entry.path());
    }
  }
  if (found.empty()) return std::nullopt;
  return *std::min_element(found.begin(), found.end());
}

}  // namespace

SoundFontPlaces SystemSoundFontPlaces() {
  return {SynthDefault(),
          {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3",
           "/etc/alternatives/default-GM.sf2", "/etc/alternatives/default-GM.sf3",
           "/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2",
           "/usr/share/sounds/sf3/MuseScore_General.sf3",
           "/usr/share/sounds/sf3/FluidR3Mono_GM.sf3", "/usr/share/soundfonts/default.sf2"},
          {"/usr/share/sounds/sf3", "/usr/share/sounds/sf2", "/usr/share/soundfonts"}};
}

std::optional<std::string> FindSoundFont(const std::optional<std::string>& chosen_file,
                                         const SoundFontPlaces& places) {
  if (chosen_file) {
    if (IsReadable(*chosen_file)) return chosen_file;
    return std::nullopt;
  }
  if (places.synth_default && IsReadable(*places.synth_default)) return places.synth_default;
  for (const std::string& path : places.known_files) {
    if (IsReadable(path)) return path;
  }
  for (const std::string& folder : places.folders) {
    if (std::optional<std::string> found = FirstInFolder(folder)) return found;
  }
  return std::nullopt;
}
