// The main window: its class, caption, style and placement, its client area as
// pixels with a device context, and the default processing of its messages.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/surface.h"
#include "platform/win32_types.h"
#include "platform/window/window_host.h"

class Window;

using WindowProcedure = std::function<LRESULT(Window&, UINT, WPARAM, LPARAM)>;

struct WNDCLASSEXA {
  WindowProcedure lpfnWndProc;
  int icon_resource = 0;
  std::string lpszClassName;
};

constexpr int CLIENT_WIDTH = 640;
constexpr int CLIENT_HEIGHT = 480;

class Window {
 public:
  Window(WindowHost& host, WindowProcedure procedure, std::string caption_sjis, DWORD style);
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  WindowHost& host() const { return host_; }
  LRESULT Call(UINT message, WPARAM wparam, LPARAM lparam) {
    return procedure_(*this, message, wparam, lparam);
  }

  const std::string& caption_sjis() const { return caption_sjis_; }
  DWORD style() const { return style_; }
  int x() const { return x_; }
  int y() const { return y_; }
  int outer_width() const { return width_; }
  int outer_height() const { return height_; }
  bool visible() const { return visible_; }
  bool topmost() const { return topmost_; }
  bool invalid() const { return invalid_; }
  // False until something is drawn on the client area: it is all black until then,
  // and there is nothing to show.
  bool drawn() const { return drawn_; }
  bool destroyed() const { return destroyed_; }
  const Bitmap& client_pixels() const { return client_; }
  // Lays the client area's pixels over memory that the backend shows by itself (the
  // window system's own picture of the window), or, with null, over memory of the
  // window's own again. What they hold goes along unless it is lost (its memory
  // already released), and then the window is to be painted anew.
  enum class Pixels { Kept, Lost };
  void PlaceClientPixels(std::uint32_t* pixels, Pixels held);

 private:
  friend Surface* GetDC(Window&);
  friend Surface* BeginPaint(Window&);
  friend void EndPaint(Window&);
  friend bool InvalidateRect(Window&);
  friend bool ShowWindow(Window&, int);
  friend bool SetWindowTextA(Window&, const char*);
  friend DWORD SetWindowLongA(Window&, int, DWORD);
  friend bool SetWindowPos(Window&, ZOrder, int, int, int, int, UINT);
  friend bool DestroyWindow(Window&);
  friend LRESULT DefWindowProcA(Window&, UINT, WPARAM, LPARAM);

  WindowHost& host_;
  WindowProcedure procedure_;
  std::string caption_sjis_;
  DWORD style_;
  int x_ = 0, y_ = 0, width_ = 0, height_ = 0;
  bool visible_ = false;
  bool topmost_ = false;
  bool invalid_ = true;
  bool drawn_ = false;
  bool shown_whole_ = false;  // the whole client area has gone to the screen once
  bool destroyed_ = false;
  bool shift_held_ = false;  // the key state that the default processing asks for
  Bitmap client_{CLIENT_WIDTH, CLIENT_HEIGHT};
  Surface device_context_;
};

// The caption and border of the old desktop's framed window, above the client area.
constexpr int CLASSIC_CAPTION_HEIGHT = 18;
constexpr int CLASSIC_BORDER = 1;
constexpr int SW_SHOWNORMAL = 1;
bool ShowWindow(Window& window, int show_command);
bool UpdateWindow(Window& window);
bool DestroyWindow(Window& window);
bool SetWindowTextA(Window& window, const char* caption_sjis);
constexpr int GWL_STYLE = -16;
DWORD SetWindowLongA(Window& window, int index, DWORD value);
bool SetWindowPos(Window& window, ZOrder z_order, int x, int y, int width, int height, UINT flags);
bool InvalidateRect(Window& window);

// The device context of the client area. What is drawn on it is shown at once.
Surface* GetDC(Window& window);
int ReleaseDC(Window& window, Surface* device_context);
Surface* BeginPaint(Window& window);
void EndPaint(Window& window);

LRESULT DefWindowProcA(Window& window, UINT message, WPARAM wparam, LPARAM lparam);

// Between the client area's and the screen's coordinates.
struct POINT {
  int x = 0;
  int y = 0;
};
bool ClientToScreen(const Window& window, POINT* point);
bool ScreenToClient(const Window& window, POINT* point);
