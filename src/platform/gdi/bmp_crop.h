// The part of a picture that a page can show: a "BMP" picture is copied to the
// page from its top-left corner, so only its top-left 640 x 480 pixels are ever
// seen. They alone are read from the file, into a small bitmap file of the same
// kind, which the decoders then read as they would the whole picture.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/files/byte_source.h"

constexpr int PICTURE_VISIBLE_WIDTH = 640;
constexpr int PICTURE_VISIBLE_HEIGHT = 480;

// The bitmap file of the picture's top-left at most 640 x 480 pixels, with the same
// headers and palette; run-length pictures come out uncompressed. Nothing when the
// file is not a bitmap that the reader shows.
std::optional<std::vector<std::uint8_t>> CropBitmapFile(ByteSource& file);
