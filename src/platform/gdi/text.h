// Text on surfaces: Shift-JIS bytes drawn with the surface's font and text colour.
// In transparent mode only the glyph strokes are painted.
#pragma once

#include "platform/gdi/font.h"
#include "platform/gdi/surface.h"

bool TextOutA(Surface& surface, int x, int y, const char* text_sjis, int length);
// DT_WORDBREAK breaks rows at the rectangle's width, never inside a double-byte
// character, and at spaces in runs of single-byte text; DT_CENTER centres one row.
// Drawing is clipped to the rectangle. Returns the height of the text drawn.
int DrawTextA(Surface& surface, const char* text_sjis, int length, RECT* rect, UINT format);
// The width in pixels of a Shift-JIS string drawn as one row in the font.
int TextWidth(const Font& font, const char* text_sjis, int length);
