// Windows bitmap files made by the tests: 24 bits, bottom-up, as a paint program
// saves them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gdi/bitmap.h"

std::string Bmp24(const Bitmap& picture);

// Little-endian fields, for tests that build headers of their own.
void Put16(std::string& out, std::uint32_t value);
void Put32(std::string& out, std::uint32_t value);
