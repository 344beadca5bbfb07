// The off-screen surfaces of the page and the four fonts: created with the window,
// released with it. The page surface's upper half is the page as shown, its lower
// half the clean background.
#pragma once

#include <cstdint>

#include "platform/win32_types.h"

struct Reader;
class Surface;
class Window;

constexpr int PAGE_WIDTH = 640;
constexpr int PAGE_HEIGHT = 480;
// The status strip's font: 16 pixels, the smallest at which kanji stay readable on a
// screen at scale 1, in the strip's 20 rows.
constexpr int STRIP_FONT_HEIGHT = 16;

void CreateSurfaces(Reader& r, Window& window);
void ReleaseSurfaces(Reader& r);
// Copies the page half to a device context of the window; nothing without one.
void PresentPage(Reader& r, Surface* device_context);
COLORREF BrightnessGrey(std::int32_t percent);
