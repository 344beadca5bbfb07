// Shading: a rectangle of a surface darkened towards black, for what is drawn over
// a page that stays visible beneath it.
#pragma once

#include "platform/gdi/surface.h"

// Keeps keep_256ths / 256 of each colour channel in the rectangle, clipped to the
// surface's bitmap.
bool ShadeRect(Surface& surface, const RECT& rect, int keep_256ths);
