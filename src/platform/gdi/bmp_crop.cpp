// Cropping a bitmap file to the visible area: the headers and palette are kept as
// they are, the size fields are made those of the crop, and the rows (or, for
// run-length pictures, the decoded run-length data) are cut to the crop.
#include "platform/gdi/bmp_crop.h"

#include <algorithm>
#include <array>

#include "platform/byte_order.h"
#include "platform/gdi/bmp_header.h"
#include "platform/gdi/bmp_rle.h"

namespace {

// The first bytes hold every header, and the palette (at most 256 entries of four
// bytes) lies within its size after them.
constexpr std::size_t HEAD_BYTES = 64 * 1024;
constexpr std::size_t MAX_PALETTE_BYTES = 256 * 4;
constexpr std::uint32_t OS2_CORE_INFO_SIZE = 12;

std::int64_t Stride(int width, int bit_count) {
  return (std::int64_t{width} * bit_count + 31) / 32 * 4;
}

// The headers of the crop: those of the file with the crop's size and pixels' place.
std::vector<std::uint8_t> CropHeaders(std::vector<std::uint8_t> head, const BmpHeader& h, int width,
                                      int height, std::uint32_t pixel_bytes) {
  const auto kept = static_cast<std::uint32_t>(head.size());
  WriteLe32(&head[2], kept + pixel_bytes);
  WriteLe32(&head[10], kept);
  if (h.info_size == OS2_CORE_INFO_SIZE) {
    WriteLe16(&head[18], static_cast<std::uint32_t>(width));
    WriteLe16(&head[20], static_cast<std::uint32_t>(height));
    return head;
  }
  WriteLe32(&head[18], static_cast<std::uint32_t>(width));
  WriteLe32(&head[22], static_cast<std::uint32_t>(h.top_down ? -height : height));
  if (h.compression == BMP_RLE8 || h.compression == BMP_RLE4) WriteLe32(&head[30], BMP_RGB);
  WriteLe32(&head[34], pixel_bytes);
  return head;
}

// The rows of an uncompressed picture that the crop holds, in the file's order.
bool AppendCroppedRows(ByteSource& file, const BmpHeader& h, int width, int height,
                       std::vector<std::uint8_t>& out) {
  const std::int64_t stride = h.Stride();
  const auto row_bytes = static_cast<std::size_t>(Stride(width, h.bit_count));
  // Bottom-up files store the top rows last.
  const int first = h.top_down ? 0 : h.height - height;
  out.reserve(out.size() + row_bytes * static_cast<std::size_t>(height));
  for (int row = first; row < first + height; ++row) {
    const std::size_t at = out.size();
    out.resize(at + row_bytes);
    const std::uint64_t offset = h.pixel_offset + static_cast<std::uint64_t>(row) * stride;
    if (!file.ReadExactly(offset, std::span(out).subspan(at))) return false;
  }
  return true;
}

// Indices packed into rows of bit_count bits, bottom-up as run-length files store them.
void AppendIndexRows(const std::vector<std::uint8_t>& indices, int width, int height, int bit_count,
                     std::vector<std::uint8_t>& out) {
  const auto row_bytes = static_cast<std::size_t>(Stride(width, bit_count));
  out.reserve(out.size() + row_bytes * static_cast<std::size_t>(height));
  for (int y = height - 1; y >= 0; --y) {
    const std::size_t at = out.size();
    out.resize(at + row_bytes, 0);
    const std::uint8_t* row = indices.data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      if (bit_count == 8) {
        out[at + x] = row[x];
      } else {
        out[at + x / 2] |= static_cast<std::uint8_t>((row[x] & 0x0F) << ((x % 2) ? 0 : 4));
      }
    }
  }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> CropBitmapFile(ByteSource& file) {
  std::vector<std::uint8_t> head(
      static_cast<std::size_t>(std::min<std::uint64_t>(file.size(), HEAD_BYTES)));
  if (!file.ReadExactly(0, head)) return std::nullopt;
  const std::optional<BmpHeader> h = ReadBmpHeader(head, file.size());
  if (!h) return std::nullopt;
  // The headers and palette as the decoder will look for them; bytes of the pixels
  // that follow right behind come along unused.
  const std::size_t kept = std::min<std::size_t>(
      head.size(), std::max<std::size_t>(std::min<std::size_t>(h->pixel_offset, HEAD_BYTES),
                                         h->header_end + MAX_PALETTE_BYTES));
  head.resize(kept);
  const int width = std::min(h->width, PICTURE_VISIBLE_WIDTH);
  const int height = std::min(h->height, PICTURE_VISIBLE_HEIGHT);
  std::vector<std::uint8_t> pixels;
  if (h->compression == BMP_RLE8 || h->compression == BMP_RLE4) {
    const std::optional<std::vector<std::uint8_t>> indices =
        DecodeRunLengthCrop(file, *h, width, height);
    if (!indices) return std::nullopt;
    AppendIndexRows(*indices, width, height, h->bit_count, pixels);
  } else if (!AppendCroppedRows(file, *h, width, height, pixels)) {
    return std::nullopt;
  }
  std::vector<std::uint8_t> cropped =
      CropHeaders(std::move(head), *h, width, height, static_cast<std::uint32_t>(pixels.size()));
  cropped.insert(cropped.end(), pixels.begin(), pixels.end());
  return cropped;
}
