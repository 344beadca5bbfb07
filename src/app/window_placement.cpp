// The main window's place in the middle of the screen.
#include "app/window_placement.h"

#include "platform/platform.h"

void PlaceWindowCentred(Platform& platform, Window& window) {
  const int x = GetSystemMetrics(platform, SM_CXSCREEN) / 2 - 320;
  const int y = GetSystemMetrics(platform, SM_CYSCREEN) / 2 - 240;
  const int height =
      480 + GetSystemMetrics(platform, SM_CYCAPTION) + 4 * GetSystemMetrics(platform, SM_CYBORDER);
  SetWindowPos(window, ZOrder::NoTopMost, x, y, 640, height, SWP_SHOWWINDOW);
}
