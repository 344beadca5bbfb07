// The volume of music and sounds.
#include "app/sound_volume.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/strip_note.h"
#include "app/user_settings.h"
#include "platform/calls/media_calls.h"
#include "platform/window/virtual_keys.h"
#include "reader/reader.h"
#include "reader/texts.h"

namespace {

constexpr UINT VOLUME_SHOWN_MS = 1500;
constexpr char LEVEL_SETTING[] = "volume";  // percent, in tenths
constexpr char MUTED_SETTING[] = "muted";   // yes or no

int StepOf(WPARAM key) {
  if (key == VK_OEM_MINUS || key == VK_SUBTRACT) return -1;
  if (key == VK_OEM_PLUS || key == VK_ADD) return 1;
  return 0;
}

void ShowLevel(Reader& r, Window& window) {
  const SoundVolume& volume = r.aids.volume;
  char text[32];
  if (volume.muted) {
    std::snprintf(text, sizeof text, "%s", texts::MUTED_INDICATOR);
  } else {
    std::snprintf(text, sizeof text, texts::VOLUME_INDICATOR_FORMAT, volume.tenths * 10);
  }
  ShowNoteForAMoment(r, window, text, VOLUME_SHOWN_MS);
}

void SaveLevel(Reader& r) {
  const SoundVolume& volume = r.aids.volume;
  SettingsFile& settings = r.aids.settings;
  settings.Set(LEVEL_SETTING, std::to_string(volume.tenths * 10));
  settings.Set(MUTED_SETTING, volume.muted ? "yes" : "no");
  SaveUserSettings(r);
}

}  // namespace

bool IsVolumeKey(WPARAM key) { return key == 'M' || StepOf(key) != 0; }

bool OnVolumeKey(Reader& r, Window& window, WPARAM key, bool repeat) {
  if (!IsVolumeKey(key)) return false;
  SoundVolume& volume = r.aids.volume;
  if (key == 'M') {
    if (repeat) return true;
    volume.muted = !volume.muted;
  } else {
    // A step away from the mute sounds again, from the level it had.
    volume.muted = false;
    volume.tenths = std::clamp(volume.tenths + StepOf(key), 0, 10);
  }
  SetSoundLevel(r.platform, volume.audible_percent());
  r.platform.backend.Record("volume " + std::to_string(volume.audible_percent()));
  ShowLevel(r, window);
  SaveLevel(r);
  return true;
}

void StartSoundVolume(Reader& r) {
  SoundVolume& volume = r.aids.volume;
  const SettingsFile& settings = r.aids.settings;
  volume.tenths = static_cast<int>((settings.Number(LEVEL_SETTING, 0, 100).value_or(100) + 5) / 10);
  volume.muted = settings.Get(MUTED_SETTING) == "yes";
  SetSoundLevel(r.platform, volume.audible_percent());
}
