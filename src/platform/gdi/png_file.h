// PNG files of pixels: the screenshots of the headless runner.
#pragma once

#include <optional>
#include <string>

#include "platform/gdi/bitmap.h"

// Writes the bitmap as an 8-bit RGB PNG. False when the file cannot be written.
bool WritePng(const Bitmap& bitmap, const std::string& host_path);
// Writes the bitmap as a new file in folder, never over one that is there:
// STEM.png, else STEM-2.png, STEM-3.png ... The path written; nothing when none could be.
std::optional<std::string> WriteNewPng(const Bitmap& bitmap, const std::string& folder,
                                       const std::string& stem);
