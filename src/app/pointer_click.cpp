// A left click at the pointer's position, on behalf of a key or the wheel.
#include "app/pointer_click.h"

#include "platform/window/message_queue.h"
#include "platform/window/pointer.h"

namespace {
POINT PointerInClient(Window& window) {
  POINT point;
  GetCursorPos(window.platform(), &point);
  ScreenToClient(window, &point);
  return point;
}
}  // namespace

void ClickAtPointer(Window& window) {
  const POINT point = PointerInClient(window);
  const LPARAM position = MAKELPARAM(point.x, point.y);
  SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, position);
  SendMessageA(window, WM_LBUTTONUP, 0, position);
}

int PointerClientX(Window& window) { return PointerInClient(window).x; }
