// Our own decoder for 16- and 32-bit pictures whose channels are given by bit
// masks: the library takes only the masks of its own pixel formats, and Windows
// shows the others too.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/gdi/bitmap.h"
#include "platform/gdi/bmp_header.h"

// The opaque picture of a checked bit-field header. Nothing for a mask whose bits
// are not one contiguous run.
std::optional<Bitmap> DecodeBitFields(std::span<const std::uint8_t> file, const BmpHeader& header);
