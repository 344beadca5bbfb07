// Display modes and screen metrics over the backend's display.
#include "platform/display.h"

#include "platform/platform.h"

bool EnumDisplaySettingsA(Platform& platform, const char*, DWORD index, DEVMODEA* mode) {
  const std::vector<DEVMODEA> modes = platform.backend.DisplayModes();
  if (mode == nullptr || index >= modes.size()) return false;
  *mode = modes[index];
  return true;
}

long ChangeDisplaySettingsA(Platform& platform, const DEVMODEA* mode, DWORD) {
  return platform.backend.ChangeDisplayMode(mode);
}

int GetSystemMetrics(Platform& platform, int index) {
  switch (index) {
    case SM_CXSCREEN: return static_cast<int>(platform.backend.CurrentDisplayMode().dmPelsWidth);
    case SM_CYSCREEN: return static_cast<int>(platform.backend.CurrentDisplayMode().dmPelsHeight);
    case SM_CYCAPTION: return CLASSIC_CAPTION_HEIGHT;
    case SM_CYBORDER: return CLASSIC_BORDER;
    default: return 0;
  }
}
