// The window's scale, place and full screen in the reader's settings.
#include "app/window_memory.h"

#include <string>
#include <utility>

#include "app/user_settings.h"
#include "platform/window/message_queue.h"
#include "reader/reader.h"

namespace {

constexpr char SCALE_SETTING[] = "scale";
constexpr char X_SETTING[] = "window-x";
constexpr char Y_SETTING[] = "window-y";
constexpr char FULL_SCREEN_SETTING[] = "full-screen";  // yes or no
constexpr long PLACE_LIMIT = 1 << 20;                  // far beyond any desktop, in screen pixels

const char* YesNo(bool yes) { return yes ? "yes" : "no"; }

}  // namespace

void RecallWindow(Reader& r, std::optional<bool> full_screen, bool kept) {
  const SettingsFile& settings = r.aids.settings;
  r.aids.window_kept = kept;
  r.aids.full_screen_due = full_screen.value_or(kept && settings.Get(FULL_SCREEN_SETTING) == "yes");
  if (!kept) return;
  WindowPlace place;
  place.scale = static_cast<int>(settings.Number(SCALE_SETTING, 1, WINDOW_SCALE_MAX).value_or(0));
  const std::optional<long> x = settings.Number(X_SETTING, -PLACE_LIMIT, PLACE_LIMIT);
  const std::optional<long> y = settings.Number(Y_SETTING, -PLACE_LIMIT, PLACE_LIMIT);
  place.placed = x && y;
  place.x = static_cast<int>(x.value_or(0));
  place.y = static_cast<int>(y.value_or(0));
  r.platform.backend.RecallWindowPlace(place);
}

void EnterRecalledFullScreen(Reader& r, Window& window) {
  // Through the menu's own command, so that the reader's state and the menu's check
  // mark follow.
  if (std::exchange(r.aids.full_screen_due, false)) {
    PostMessageA(window, WM_COMMAND, IDM_FULLSCREEN, 0);
  }
}

void KeepWindow(Reader& r) {
  if (!r.aids.window_kept) return;
  SettingsFile& settings = r.aids.settings;
  bool changed = settings.Change(FULL_SCREEN_SETTING, YesNo(r.state.IsFullScreen != 0), "no");
  if (const std::optional<WindowPlace> place = r.platform.backend.WindowPlaceToKeep()) {
    changed |= settings.Change(SCALE_SETTING, std::to_string(place->scale), "");
    if (place->placed) {
      changed |= settings.Change(X_SETTING, std::to_string(place->x), "");
      changed |= settings.Change(Y_SETTING, std::to_string(place->y), "");
    }
  }
  if (changed) SaveUserSettings(r);
}
