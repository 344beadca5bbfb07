// PNG files of pixels: the screenshots of the headless runner.
#pragma once

#include <string>

#include "platform/gdi/bitmap.h"

// Writes the bitmap as an 8-bit RGB PNG. False when the file cannot be written.
bool WritePng(const Bitmap& bitmap, const std::string& host_path);
