// A left click at the pointer's position, on behalf of a key or the wheel.
#include "app/pointer_click.h"

#include "platform/calls/window_calls.h"
#include "platform/window/message_queue.h"

namespace {
POINT PointerInClient(Platform& platform, Window& window) {
  POINT point;
  GetCursorPos(platform, &point);
  ScreenToClient(window, &point);
  return point;
}
}  // namespace

void ClickAtPointer(Platform& platform, Window& window) {
  const POINT point = PointerInClient(platform, window);
  const LPARAM position = MAKELPARAM(point.x, point.y);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, position);
  SendMessageA(window, WM_LBUTTONUP, 0, position);
}

int PointerClientX(Platform& platform, Window& window) {
  return PointerInClient(platform, window).x;
}
