// Device contexts: a memory surface with its selected bitmap, font, brush, pen,
// text colour and background mode, and the copies and fills between them.
#pragma once

#include <functional>
#include <memory>

#include "platform/gdi/bitmap.h"
#include "platform/win32_types.h"

class Font;

struct Brush {
  COLORREF color = 0;
};
struct Pen {
  COLORREF color = 0;
  int width = 1;
};

class Surface {
 public:
  Surface() = default;
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  Bitmap* bitmap = nullptr;
  const Font* font = nullptr;
  const Brush* brush = nullptr;
  const Pen* pen = nullptr;
  COLORREF text_color = RGB(0, 0, 0);
  COLORREF background_color = RGB(255, 255, 255);
  int background_mode = OPAQUE;
  int pen_x = 0;  // the current position of MoveToEx and LineTo
  int pen_y = 0;

  // Set on a window's device context: what is drawn there is shown at once. changed
  // is what a call drew over; altered, inside it, what it wrote (a copy leaves the
  // rows that hold its pixels already unwritten), which alone need reach the screen.
  std::function<void(const RECT& changed, const RECT& altered)> on_change;

  void NotifyChanged(const RECT& changed) const { NotifyChanged(changed, changed); }
  void NotifyChanged(const RECT& changed, const RECT& altered) const {
    if (on_change && changed.right > changed.left && changed.bottom > changed.top)
      on_change(changed, altered);
  }
};

std::unique_ptr<Surface> CreateCompatibleDC(const Surface* reference);
// A bitmap of the display's pixel format, cleared to black. Null on a bad size.
std::unique_ptr<Bitmap> CreateCompatibleBitmap(const Surface* reference, int width, int height);

Bitmap* SelectObject(Surface& surface, Bitmap* bitmap);
const Font* SelectObject(Surface& surface, const Font* font);
const Brush* SelectObject(Surface& surface, const Brush* brush);
const Pen* SelectObject(Surface& surface, const Pen* pen);
COLORREF SetTextColor(Surface& surface, COLORREF color);
int SetBkMode(Surface& surface, int mode);

// Copies move only the pixels whose source lies inside the source bitmap and whose
// destination lies inside the destination bitmap; the rest of the rectangle stays.
bool BitBlt(Surface& destination, int x, int y, int width, int height, const Surface& source,
            int source_x, int source_y, DWORD rop);
bool PatBlt(Surface& destination, int x, int y, int width, int height, DWORD rop);
bool MoveToEx(Surface& surface, int x, int y);
// A line includes its start and leaves out its end point.
bool LineTo(Surface& surface, int x, int y);
