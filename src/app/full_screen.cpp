// Full screen: the first 640 x 480 display mode that takes, a borderless topmost
// window over it, and back to the centred window.
#include "app/full_screen.h"

#include "app/window_placement.h"
#include "reader/reader.h"

namespace {

// Passes over the modes that need a restart of the system; every other answer,
// success or failure, ends the search.
bool FindPageSizedMode(Reader& r) {
  ReaderState& s = r.state;
  s.ModeIndex = 0;
  if (!EnumDisplaySettingsA(r.platform, nullptr, 0, &s.DisplayMode)) return false;
  for (;;) {
    if (s.DisplayMode.dmPelsWidth == 640 && s.DisplayMode.dmPelsHeight == 480 &&
        ChangeDisplaySettingsA(r.platform, &s.DisplayMode, 0) != DISP_CHANGE_RESTART) {
      return true;
    }
    s.ModeIndex += 1;
    if (!EnumDisplaySettingsA(r.platform, nullptr, static_cast<DWORD>(s.ModeIndex), &s.DisplayMode))
      return false;
  }
}

void EnterFullScreen(Reader& r, Window& window) {
  if (!FindPageSizedMode(r)) return;
  r.state.IsFullScreen = 1;
  SetWindowLongA(window, GWL_STYLE, WS_POPUP);
  SetWindowPos(window, ZOrder::Top, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  SetWindowPos(window, ZOrder::TopMost, 0, 0, 640, 480, SWP_SHOWWINDOW);
}

void LeaveFullScreen(Reader& r, Window& window) {
  Platform& platform = r.platform;
  ChangeDisplaySettingsA(platform, nullptr, 0);
  r.state.IsFullScreen = 0;
  SetWindowLongA(window, GWL_STYLE, WINDOWED_STYLE);
  SetWindowPos(window, ZOrder::Top, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
  // The screen size is read after the display came back.
  PlaceWindowCentred(platform, window);
}

}  // namespace

void ShowAtScale(Reader& r, Window& window, int scale) {
  if (r.state.IsFullScreen != 0) LeaveFullScreen(r, window);
  r.platform.backend.ScaleWindow(scale);
}

void ToggleFullScreen(Reader& r, Window& window) {
  if (r.state.IsFullScreen == 0) {
    EnterFullScreen(r, window);
  } else {
    LeaveFullScreen(r, window);
  }
}
