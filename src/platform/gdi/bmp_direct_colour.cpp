// Direct-colour pictures read in blocks of rows.
#include "platform/gdi/bmp_direct_colour.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gdi/bmp_bitfields.h"
#include "platform/gdi/bmp_crop.h"

namespace {

// Large enough that a page's picture takes a few dozen reads, small enough that
// the block is no second picture.
constexpr std::size_t BLOCK_BYTES = 64 * 1024;

// The visible rows, each converted by convert(stored_row, width, page_row). The
// blocks are read from the file's end, so that a file cut short fails before the
// picture's pixels are made or a row of them written.
template <typename ConvertRow>
std::optional<Bitmap> ReadVisibleRows(ByteSource& file, const BmpHeader& header,
                                      const PixelsFor& pixels_for, const ConvertRow& convert) {
  const int width = std::min(header.width, PICTURE_VISIBLE_WIDTH);
  const int height = std::min(header.height, PICTURE_VISIBLE_HEIGHT);
  const auto stride = static_cast<std::size_t>(header.Stride());
  const int rows_per_block =
      std::min(height, static_cast<int>(std::max<std::size_t>(1, BLOCK_BYTES / stride)));
  std::vector<std::uint8_t> block(stride * static_cast<std::size_t>(rows_per_block));
  std::optional<Bitmap> picture;
  // Bottom-up files store the top rows last, so the visible rows are their last ones.
  const int first_stored = header.top_down ? 0 : header.height - height;
  for (int end = height; end > 0; end -= rows_per_block) {
    const int begin = std::max(0, end - rows_per_block);
    const std::span<std::uint8_t> bytes(block.data(),
                                        stride * static_cast<std::size_t>(end - begin));
    const std::uint64_t offset =
        header.pixel_offset + stride * static_cast<std::uint64_t>(first_stored + begin);
    if (!file.ReadExactly(offset, bytes)) return std::nullopt;
    if (!picture) picture = pixels_for(width, height);
    for (int i = begin; i < end; ++i) {
      const int stored = first_stored + i;
      const int y = header.top_down ? stored : header.height - 1 - stored;
      convert(bytes.data() + stride * static_cast<std::size_t>(i - begin), width, picture->row(y));
    }
  }
  return picture;
}

void ConvertBgrRow(const std::uint8_t* bgr, int width, std::uint32_t* out) {
  for (int x = 0; x < width; ++x, bgr += 3) {
    out[x] = std::uint32_t{bgr[2]} << 16 | std::uint32_t{bgr[1]} << 8 | bgr[0];
  }
}

}  // namespace

bool IsDirectColour(const BmpHeader& header) {
  if (header.compression == BMP_RGB) return header.bit_count == 24;
  return header.HasBitFields() && (header.bit_count == 16 || header.bit_count == 32);
}

std::optional<Bitmap> ReadDirectColour(ByteSource& file, const BmpHeader& header,
                                       const PixelsFor& pixels_for) {
  if (!header.HasBitFields()) return ReadVisibleRows(file, header, pixels_for, ConvertBgrRow);
  const std::optional<BitFieldColours> colours = BitFieldColours::For(header);
  if (!colours) return std::nullopt;
  return ReadVisibleRows(file, header, pixels_for,
                         [&](const std::uint8_t* stored, int width, std::uint32_t* out) {
                           colours->ConvertRow(stored, width, out);
                         });
}
