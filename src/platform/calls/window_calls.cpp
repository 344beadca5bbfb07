// The window's making, the pointer and the clipboard.
#include "platform/calls/window_calls.h"

#include <memory>

#include "platform/platform.h"

bool RegisterClassExA(Platform& platform, const WNDCLASSEXA& window_class) {
  if (window_class.lpszClassName.empty() || !window_class.lpfnWndProc) return false;
  platform.window_classes[window_class.lpszClassName] = window_class;
  return true;
}

Window* CreateWindowExA(Platform& platform, DWORD, const char* class_name, const char* caption_sjis,
                        DWORD style, int x, int y, int width, int height) {
  auto found = platform.window_classes.find(class_name);
  if (found == platform.window_classes.end()) return nullptr;
  platform.window = std::make_unique<Window>(platform, found->second.lpfnWndProc, "", style);
  Window& window = *platform.window;
  SetWindowTextA(window, caption_sjis);
  SetWindowPos(window, ZOrder::Top, x, y, width, height, 0);
  window.Call(WM_CREATE, 0, 0);
  return &window;
}

bool GetCursorPos(Platform& platform, POINT* point) {
  *point = POINT{};
  platform.backend.PointerPosition(point);
  if (platform.window) ClientToScreen(*platform.window, point);
  return true;
}

bool SetClipboardText(Platform& platform, std::string_view text_utf8) {
  platform.backend.SetClipboardText(text_utf8);
  return true;
}
