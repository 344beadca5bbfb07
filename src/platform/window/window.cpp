// The main window, its device context and its default message processing.
#include "platform/window/window.h"

#include <algorithm>
#include <utility>

#include "platform/window/message_queue.h"
#include "platform/window/virtual_keys.h"

Window::Window(WindowHost& host, WindowProcedure procedure, std::string caption_sjis, DWORD style)
    : host_(host),
      procedure_(std::move(procedure)),
      caption_sjis_(std::move(caption_sjis)),
      style_(style) {
  device_context_.bitmap = &client_;
  device_context_.on_change = [this](const RECT& changed, const RECT& altered) {
    constexpr RECT WHOLE{0, 0, CLIENT_WIDTH, CLIENT_HEIGHT};
    drawn_ = true;
    // Once the whole client area has gone out, the screen holds what it held, and a
    // page that a paint copies again sends only the rows that differ.
    const RECT& shown = shown_whole_ ? altered : changed;
    shown_whole_ = shown_whole_ || changed == WHOLE;
    if (shown.right > shown.left && shown.bottom > shown.top)
      host_.ShowWindowPixels(*this, shown);
    if (changed == WHOLE) host_.Record("present");
  };
}

void Window::PlaceClientPixels(std::uint32_t* pixels, Pixels held) {
  Bitmap placed = pixels != nullptr ? Bitmap::Over(pixels, CLIENT_WIDTH, CLIENT_HEIGHT)
                                    : Bitmap(CLIENT_WIDTH, CLIENT_HEIGHT);
  constexpr std::size_t CLIENT_PIXELS = std::size_t{CLIENT_WIDTH} * CLIENT_HEIGHT;
  if (held == Pixels::Lost) {
    invalid_ = true;
  } else if (drawn_) {
    std::copy_n(client_.row(0), CLIENT_PIXELS, placed.row(0));
  } else if (pixels != nullptr) {
    // Black, without reading the old pixels, which were never written: a read would
    // commit their memory. New memory of the window's own is black already.
    std::fill_n(placed.row(0), CLIENT_PIXELS, std::uint32_t{0});
  }
  client_ = std::move(placed);
}

bool ShowWindow(Window& window, int) {
  const bool was_visible = window.visible_;
  window.visible_ = true;
  window.host().WindowPlaced(window);
  return was_visible;
}

bool UpdateWindow(Window& window) {
  if (window.visible() && window.invalid()) window.Call(WM_PAINT, 0, 0);
  return true;
}

bool DestroyWindow(Window& window) {
  if (window.destroyed_) return false;
  window.Call(WM_DESTROY, 0, 0);
  window.destroyed_ = true;
  window.visible_ = false;
  return true;
}

bool SetWindowTextA(Window& window, const char* caption_sjis) {
  window.caption_sjis_ = caption_sjis ? caption_sjis : "";
  WindowHost& host = window.host();
  host.WindowCaptionChanged(window, window.caption_sjis_);
  host.Record("caption " + host.ToUtf8(window.caption_sjis_));
  return true;
}

DWORD SetWindowLongA(Window& window, int index, DWORD value) {
  if (index != GWL_STYLE) return 0;
  return std::exchange(window.style_, value);
}

bool SetWindowPos(Window& window, ZOrder z_order, int x, int y, int width, int height, UINT flags) {
  if (!(flags & SWP_NOMOVE)) {
    window.x_ = x;
    window.y_ = y;
  }
  if (!(flags & SWP_NOSIZE)) {
    window.width_ = width;
    window.height_ = height;
  }
  if (z_order == ZOrder::TopMost) window.topmost_ = true;
  if (z_order == ZOrder::NoTopMost) window.topmost_ = false;
  if (flags & SWP_SHOWWINDOW) window.visible_ = true;
  window.host().WindowPlaced(window);
  return true;
}

bool InvalidateRect(Window& window) {
  window.invalid_ = true;
  return true;
}

Surface* GetDC(Window& window) {
  // A device context of a window starts out with the defaults each time it is taken.
  Surface& context = window.device_context_;
  context.font = nullptr;
  context.brush = nullptr;
  context.pen = nullptr;
  context.text_color = RGB(0, 0, 0);
  context.background_mode = OPAQUE;
  return &context;
}

int ReleaseDC(Window&, Surface*) { return 1; }

Surface* BeginPaint(Window& window) {
  window.invalid_ = false;
  return GetDC(window);
}

void EndPaint(Window&) {}

namespace {
// The client area's top-left corner on the screen: below the caption and the
// border of a framed window.
POINT ClientOrigin(const Window& window) {
  const bool framed = (window.style() & WS_CAPTION) != 0;
  const int frame = framed ? CLASSIC_CAPTION_HEIGHT + 2 * CLASSIC_BORDER : 0;
  return {window.x(), window.y() + frame};
}
}  // namespace

bool ClientToScreen(const Window& window, POINT* point) {
  const POINT origin = ClientOrigin(window);
  point->x += origin.x;
  point->y += origin.y;
  return true;
}

bool ScreenToClient(const Window& window, POINT* point) {
  const POINT origin = ClientOrigin(window);
  point->x -= origin.x;
  point->y -= origin.y;
  return true;
}

LRESULT DefWindowProcA(Window& window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_RBUTTONUP: {
      // The menu opens at the pointer, in screen coordinates.
      POINT point{static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(lparam))),
                  static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(lparam)))};
      ClientToScreen(window, &point);
      return SendMessageA(window, WM_CONTEXTMENU, 0, MAKELPARAM(point.x, point.y));
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (wparam == VK_SHIFT) window.shift_held_ = false;
      // The menu key opens the menu where the pointer is.
      if (wparam == VK_APPS) return SendMessageA(window, WM_CONTEXTMENU, 0, -1);
      return 0;
    case WM_SYSKEYDOWN:
    case WM_KEYDOWN:
      if (wparam == VK_SHIFT) window.shift_held_ = true;
      // Shift+F10 opens the menu as the menu key does.
      if (wparam == VK_F10 && window.shift_held_)
        return SendMessageA(window, WM_CONTEXTMENU, 0, -1);
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_PAINT:
      BeginPaint(window);
      EndPaint(window);
      return 0;
    default:
      return 0;
  }
}
