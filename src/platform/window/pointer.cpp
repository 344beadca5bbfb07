// The pointer's place.
#include "platform/window/pointer.h"

#include "platform/platform.h"

bool GetCursorPos(Platform& platform, POINT* point) {
  *point = POINT{};
  platform.backend.PointerPosition(point);
  if (platform.window) ClientToScreen(*platform.window, point);
  return true;
}
