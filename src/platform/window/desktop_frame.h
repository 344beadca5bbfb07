// The old desktop's look, shared by the menus and the message box that the program
// draws over the page itself: its colours, a raised frame, fills and lines.
#pragma once

#include "platform/gdi/surface.h"

namespace desktop {

constexpr COLORREF FACE = RGB(192, 192, 192);
constexpr COLORREF LIGHT = RGB(255, 255, 255);
constexpr COLORREF SHADOW = RGB(128, 128, 128);
constexpr COLORREF DARK = RGB(0, 0, 0);
constexpr COLORREF HIGHLIGHT = RGB(0, 0, 128);

void Fill(Surface& surface, const RECT& box, COLORREF color);
void Line(Surface& surface, int x0, int y0, int x1, int y1, COLORREF color);
// The face with its light top-left and dark bottom-right edges.
void DrawFrame(Surface& surface, const RECT& box);

}  // namespace desktop
