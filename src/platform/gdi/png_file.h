// PNG files of pixels: the screenshots of the headless runner.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/error_or.h"
#include "platform/gdi/bitmap.h"
#include "platform/system_error.h"

// Writes the bitmap as an 8-bit RGB PNG. False when the file cannot be written.
bool WritePng(const Bitmap& bitmap, const std::string& host_path);
// The names that WriteNewPng tries, STEM.png, then STEM-2.png up to STEM-100.png, and
// the bytes that the longest of them adds to the stem.
inline constexpr int NEW_PNG_NAME_TRIES = 100;
inline constexpr std::size_t NEW_PNG_NAME_ENDING = sizeof "-100.png" - 1;

// Writes the bitmap as a new file in folder, never over one that is there:
// STEM.png, else STEM-2.png, STEM-3.png ... The path written, or why none could be.
ErrorOr<std::string, SystemError> WriteNewPng(const Bitmap& bitmap, const std::string& folder,
                                              const std::string& stem);
