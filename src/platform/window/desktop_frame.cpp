// Fills, lines and the raised frame of the old desktop.
#include "platform/window/desktop_frame.h"

namespace desktop {

void Fill(Surface& surface, const RECT& box, COLORREF color) {
  const Brush brush{color};
  const Brush* previous = SelectObject(surface, &brush);
  PatBlt(surface, box.left, box.top, box.right - box.left, box.bottom - box.top, PATCOPY);
  SelectObject(surface, previous);
}

void Line(Surface& surface, int x0, int y0, int x1, int y1, COLORREF color) {
  const Pen pen{color, 1};
  const Pen* previous = SelectObject(surface, &pen);
  MoveToEx(surface, x0, y0);
  LineTo(surface, x1, y1);
  SelectObject(surface, previous);
}

void DrawFrame(Surface& surface, const RECT& box) {
  Fill(surface, box, FACE);
  Line(surface, box.left, box.top, box.right - 1, box.top, LIGHT);
  Line(surface, box.left, box.top, box.left, box.bottom - 1, LIGHT);
  Line(surface, box.left, box.bottom - 1, box.right, box.bottom - 1, DARK);
  Line(surface, box.right - 1, box.top, box.right - 1, box.bottom, DARK);
  Line(surface, box.left + 1, box.bottom - 2, box.right - 1, box.bottom - 2, SHADOW);
  Line(surface, box.right - 2, box.top + 1, box.right - 2, box.bottom - 1, SHADOW);
}

}  // namespace desktop
