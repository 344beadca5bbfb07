// Uncompressed 24-bit pictures, the kind of most pictures in novels: their visible
// rows are read from the file straight into the picture's pixels, so that no copy of
// the file's bytes and no second decoded picture is held beside them.
#pragma once

#include <optional>

#include "platform/files/byte_source.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/bmp_header.h"

// True for the pictures that ReadTrueColour reads.
bool IsTrueColour(const BmpHeader& header);
// The picture's top-left at most 640 x 480 pixels, as the page shows them; nothing
// when a row cannot be read.
std::optional<Bitmap> ReadTrueColour(ByteSource& file, const BmpHeader& header);
