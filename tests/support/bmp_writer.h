// Windows bitmap files made by the tests: 24 bits, bottom-up, as a paint program
// saves them.
#pragma once

#include <string>

#include "platform/gdi/bitmap.h"

std::string Bmp24(const Bitmap& picture);
