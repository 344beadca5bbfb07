// Run-length pictures (RLE8 and RLE4) decoded into palette indices, only for the
// visible crop, the rest of the data read and passed over.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/files/byte_source.h"
#include "platform/gdi/bmp_header.h"

// The indices of the top-left width x height pixels, top-down, one byte each;
// pixels that the data skips are index 0. Nothing when the data ends before its
// end-of-picture mark.
std::optional<std::vector<std::uint8_t>> DecodeRunLengthCrop(ByteSource& file,
                                                             const BmpHeader& header, int width,
                                                             int height);
