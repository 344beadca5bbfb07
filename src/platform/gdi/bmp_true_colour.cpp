// 24-bit pictures read row by row.
#include "platform/gdi/bmp_true_colour.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gdi/bmp_crop.h"

bool IsTrueColour(const BmpHeader& header) {
  return header.compression == BMP_RGB && header.bit_count == 24;
}

std::optional<Bitmap> ReadTrueColour(ByteSource& file, const BmpHeader& header) {
  const int width = std::min(header.width, PICTURE_VISIBLE_WIDTH);
  const int height = std::min(header.height, PICTURE_VISIBLE_HEIGHT);
  const auto stride = static_cast<std::uint64_t>(header.Stride());
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    // Bottom-up files store the top rows last.
    const int stored_row = header.top_down ? y : header.height - 1 - y;
    if (!file.ReadExactly(header.pixel_offset + stride * static_cast<std::uint64_t>(stored_row),
                          row)) {
      return std::nullopt;
    }
    std::uint32_t* out = picture.row(y);
    for (std::size_t x = 0; x < static_cast<std::size_t>(width); ++x) {
      const std::uint8_t* bgr = &row[3 * x];
      out[x] = std::uint32_t{bgr[2]} << 16 | std::uint32_t{bgr[1]} << 8 | bgr[0];
    }
  }
  return picture;
}
