// The header of a Windows bitmap file, read and checked before any pixel is
// decoded: what the picture claims must be sane and must fit in the file's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// A picture of the page is 640 x 480; these bounds are far above any real one and
// keep a hostile header from asking for more than a few hundred megabytes.
constexpr int BMP_MAX_SIDE = 16384;
constexpr std::int64_t BMP_MAX_PIXELS = std::int64_t{16} * 1024 * 1024;
// Run-length data cannot stand for more pixels than this per byte of the file.
constexpr std::int64_t BMP_MAX_RLE_PIXELS_PER_BYTE = 256;

enum BmpCompression : std::uint32_t {
  BMP_RGB = 0,
  BMP_RLE8 = 1,
  BMP_RLE4 = 2,
  BMP_BITFIELDS = 3,
  BMP_ALPHABITFIELDS = 6,
};

struct BmpHeader {
  std::uint32_t info_size = 0;  // 12 for OS/2 1.x, 40 and up for Windows, 64 for OS/2 2.x
  int width = 0;
  int height = 0;  // rows, always positive
  bool top_down = false;
  int bit_count = 0;
  std::uint32_t compression = BMP_RGB;
  std::uint32_t pixel_offset = 0;  // where the pixels start in the file
  std::uint32_t header_end = 0;    // where the headers and the masks end
  // Channel masks of bit-field pictures; the alpha mask is read but never used,
  // since a picture of the page is opaque.
  std::uint32_t red_mask = 0;
  std::uint32_t green_mask = 0;
  std::uint32_t blue_mask = 0;

  bool HasBitFields() const {
    return compression == BMP_BITFIELDS || compression == BMP_ALPHABITFIELDS;
  }
  // Bytes of one uncompressed row, padded to four.
  std::int64_t Stride() const { return (std::int64_t{width} * bit_count + 31) / 32 * 4; }
};

// The header of the file's bytes, or nothing when the file is not a bitmap that
// the reader shows, is too large, or claims more pixels than its bytes can hold.
std::optional<BmpHeader> ReadBmpHeader(std::span<const std::uint8_t> file);
// Where the largest header and its masks end.
constexpr std::size_t BMP_HEADERS_MAX_BYTES = 154;
// The same from the first bytes of a file of file_size bytes; head must hold the
// headers and the masks (BMP_HEADERS_MAX_BYTES, or the whole of a shorter file).
std::optional<BmpHeader> ReadBmpHeader(std::span<const std::uint8_t> head, std::uint64_t file_size);
