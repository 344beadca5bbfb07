// Where the page lies on the window's surface: the largest 4:3 place that fits, in
// its middle, black borders around it (a whole factor where the window was sized so);
// and the copy of the page's pixels onto that place.
#pragma once

#include <SDL.h>

#include <vector>

#include "platform/gdi/bitmap.h"
#include "platform/win32_types.h"

struct PageView {
  int x = 0;
  int y = 0;
  int width = 640;
  int height = 480;

  // The page on a surface: the largest fit, centred.
  static PageView Fit(int surface_width, int surface_height);

  int SurfaceX(int page_x) const;
  int SurfaceY(int page_y) const;
  // The page pixel under a surface pixel, held inside the page.
  int PageX(int surface_x) const;
  int PageY(int surface_y) const;
};

// The window's scale when none is asked for: the largest whole factor at which the
// page and the window's frame fit the usable area of the display (the display less
// its panels and docks); 1 when even that does not fit.
int FittingScale(int usable_width, int usable_height, int frame_width, int frame_height);

// True when the middle of the page lies on one of the displays: a window kept at
// that place is seen there.
bool LiesOnADisplay(const SDL_Rect& page, const std::vector<SDL_Rect>& displays);

// Copies a rectangle of the page to its place on the surface (any pixel format).
void ShowPage(const Bitmap& page, const RECT& changed, const PageView& view, SDL_Surface& surface);
