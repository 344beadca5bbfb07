// Reading and checking the header of a Windows bitmap file.
#include "platform/gdi/bmp_header.h"

#include <cstddef>

#include "platform/byte_order.h"

namespace {

constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::uint32_t OS2_CORE_INFO_SIZE = 12;
constexpr std::uint32_t WINDOWS_INFO_SIZE = 40;
constexpr std::uint32_t OS2_INFO_SIZE = 64;
constexpr std::uint32_t MASKS_IN_INFO_SIZE = 52;  // the V2 header and later hold the masks

// Little-endian fields; the caller has made sure that the bytes are there.
std::uint32_t U16(std::span<const std::uint8_t> file, std::size_t at) {
  return ReadLe16(file.data() + at);
}
std::uint32_t U32(std::span<const std::uint8_t> file, std::size_t at) {
  return ReadLe32(file.data() + at);
}
std::int64_t I32(std::span<const std::uint8_t> file, std::size_t at) {
  return static_cast<std::int32_t>(U32(file, at));
}

bool KnownInfoSize(std::uint32_t size) {
  switch (size) {
    case 12: case 40: case 52: case 56: case 64: case 108: case 124:
      return true;
    default:
      return false;
  }
}

bool SaneDimensions(std::int64_t width, std::int64_t height) {
  return width >= 1 && height >= 1 && width <= BMP_MAX_SIDE && height <= BMP_MAX_SIDE &&
         width * height <= BMP_MAX_PIXELS;
}

bool SaneDepth(const BmpHeader& h) {
  switch (h.compression) {
    case BMP_RGB:
      return h.bit_count == 1 || h.bit_count == 2 || h.bit_count == 4 || h.bit_count == 8 ||
             h.bit_count == 16 || h.bit_count == 24 || h.bit_count == 32;
    // Run-length pictures are stored bottom-up only.
    case BMP_RLE8:
      return h.bit_count == 8 && !h.top_down;
    case BMP_RLE4:
      return h.bit_count == 4 && !h.top_down;
    case BMP_BITFIELDS:
    case BMP_ALPHABITFIELDS:
      // OS/2 uses these numbers for Huffman and RLE24 coding, which Windows never read.
      return (h.bit_count == 16 || h.bit_count == 32) && h.info_size != OS2_INFO_SIZE;
    default:
      return false;  // JPEG and PNG inside a bitmap, and anything unknown
  }
}

// Width, height, depth and compression; dimensions not yet checked.
void ReadDimensions(std::span<const std::uint8_t> file, BmpHeader& h, std::int64_t& width,
                    std::int64_t& height) {
  if (h.info_size == OS2_CORE_INFO_SIZE) {
    width = U16(file, 18);
    height = U16(file, 20);
    h.bit_count = static_cast<int>(U16(file, 24));
    h.compression = BMP_RGB;
    return;
  }
  width = I32(file, 18);
  height = I32(file, 22);
  h.bit_count = static_cast<int>(U16(file, 28));
  h.compression = U32(file, 30);
  h.top_down = height < 0;
  if (height < 0) height = -height;  // 64 bits: the most negative value negates safely
}

// The masks of a bit-field picture: inside the info header from the V2 header on,
// otherwise in the 12 or 16 bytes behind it. Returns where the header ends.
std::optional<std::size_t> ReadMasks(std::span<const std::uint8_t> file, BmpHeader& h) {
  std::size_t end = FILE_HEADER_SIZE + h.info_size;
  if (!h.HasBitFields()) return end;
  const std::size_t at = FILE_HEADER_SIZE + WINDOWS_INFO_SIZE;
  if (h.info_size < MASKS_IN_INFO_SIZE) {
    end += h.compression == BMP_ALPHABITFIELDS ? 16 : 12;
    if (end > file.size()) return std::nullopt;
  }
  h.red_mask = U32(file, at);
  h.green_mask = U32(file, at + 4);
  h.blue_mask = U32(file, at + 8);
  return end;
}

bool PixelsFit(std::uint64_t file_size, const BmpHeader& h) {
  if (h.pixel_offset < h.header_end || h.pixel_offset > file_size) return false;
  const auto data = static_cast<std::int64_t>(file_size - h.pixel_offset);
  const std::int64_t pixels = std::int64_t{h.width} * h.height;
  if (h.compression == BMP_RLE8 || h.compression == BMP_RLE4) {
    return data >= 2 && pixels <= data * BMP_MAX_RLE_PIXELS_PER_BYTE;
  }
  return h.Stride() * h.height <= data;
}

}  // namespace

std::optional<BmpHeader> ReadBmpHeader(std::span<const std::uint8_t> file) {
  return ReadBmpHeader(file, file.size());
}

std::optional<BmpHeader> ReadBmpHeader(std::span<const std::uint8_t> file,
                                       std::uint64_t file_size) {
  if (file.size() > file_size) file = file.first(static_cast<std::size_t>(file_size));
  if (file.size() < FILE_HEADER_SIZE + 4 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  BmpHeader h;
  h.pixel_offset = U32(file, 10);
  h.info_size = U32(file, FILE_HEADER_SIZE);
  if (!KnownInfoSize(h.info_size) || FILE_HEADER_SIZE + h.info_size > file.size())
    return std::nullopt;

  std::int64_t width = 0, height = 0;
  ReadDimensions(file, h, width, height);
  if (!SaneDimensions(width, height)) return std::nullopt;
  h.width = static_cast<int>(width);
  h.height = static_cast<int>(height);
  if (!SaneDepth(h)) return std::nullopt;

  const std::optional<std::size_t> header_end = ReadMasks(file, h);
  if (!header_end) return std::nullopt;
  h.header_end = static_cast<std::uint32_t>(*header_end);
  if (!PixelsFit(file_size, h)) return std::nullopt;
  return h;
}
