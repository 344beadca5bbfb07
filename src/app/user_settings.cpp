// The reader's settings file.
#include "app/user_settings.h"

#include <optional>
#include <string>

#include "platform/files/settings_file.h"
#include "platform/translation.h"
#include "reader/reader.h"

void LoadUserSettings(Reader& r) {
  const std::optional<std::string> path = UserSettingsPath();
  if (!path) return;
  r.aids.settings = SettingsFile::Load(*path);
  if (const std::string& broken = r.aids.settings.broken(); !broken.empty()) {
    r.platform.Warn(Formatted(_("the settings file %s is left as it is (%s): the default "
                                "settings are used"),
                              *path, broken));
  }
}

// Told once: a file that the user made read-only stays so at every later change.
void SaveUserSettings(Reader& r) {
  const std::optional<std::string> path = UserSettingsPath();
  const SettingsFile& settings = r.aids.settings;
  if (!path || !settings.broken().empty()) return;
  if (const std::optional<std::string> why = settings.Save(*path)) {
    r.platform.Warn(Formatted(_("the settings are not kept: %s"), *why));
  }
}
