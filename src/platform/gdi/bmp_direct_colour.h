// Pictures whose pixels hold their own colours, the kind of most pictures in novels:
// 24-bit pictures, and 16- and 32-bit pictures whose channels are given by bit masks.
// Their visible rows are read from the file a block at a time straight into the
// picture's pixels, so that no copy of the file's bytes and no second decoded
// picture is held beside them.
#pragma once

#include <optional>

#include "platform/files/byte_source.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/bmp_header.h"
#include "platform/gdi/picture_file.h"

// True for the pictures that ReadDirectColour reads.
bool IsDirectColour(const BmpHeader& header);
// The picture's top-left at most 640 x 480 pixels, as the page shows them, in the
// pixels that pixels_for gives; nothing when a row cannot be read or a bit mask is
// not one run of bits.
std::optional<Bitmap> ReadDirectColour(ByteSource& file, const BmpHeader& header,
                                       const PixelsFor& pixels_for);
