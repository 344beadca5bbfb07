// Bit-field pictures: each channel scaled from its mask's width to 8 bits.
#include "platform/gdi/bmp_bitfields.h"

#include <bit>
#include <cstddef>

namespace {

// One colour channel: where its bits lie and the largest value they hold.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint64_t max = 0;
};

std::optional<Channel> MakeChannel(std::uint32_t mask) {
  if (mask == 0) return Channel{};  // an absent channel reads as 0
  const int shift = std::countr_zero(mask);
  const std::uint64_t run = std::uint64_t{mask} >> shift;
  if ((run & (run + 1)) != 0) return std::nullopt;  // a gap inside the mask
  return Channel{mask, shift, run};
}

// Rounded to the nearest 8-bit value, so that a channel's largest value is 255.
std::uint32_t Scale(std::uint32_t value, const Channel& c) {
  if (c.max == 0) return 0;
  const std::uint64_t v = (value & c.mask) >> c.shift;
  return static_cast<std::uint32_t>((v * 255 + c.max / 2) / c.max);
}

std::uint32_t ReadPixel(const std::uint8_t* at, int bit_count) {
  std::uint32_t value = at[0] | (std::uint32_t{at[1]} << 8);
  if (bit_count == 32) value |= (std::uint32_t{at[2]} << 16) | (std::uint32_t{at[3]} << 24);
  return value;
}

}  // namespace

std::optional<Bitmap> DecodeBitFields(std::span<const std::uint8_t> file, const BmpHeader& header) {
  const std::optional<Channel> red = MakeChannel(header.red_mask);
  const std::optional<Channel> green = MakeChannel(header.green_mask);
  const std::optional<Channel> blue = MakeChannel(header.blue_mask);
  if (!red || !green || !blue) return std::nullopt;
  if (header.bit_count != 16 && header.bit_count != 32) return std::nullopt;
  // Every row must lie inside the file, whoever made the header.
  const auto stride = static_cast<std::size_t>(header.Stride());
  if (header.pixel_offset + stride * static_cast<std::size_t>(header.height) > file.size()) {
    return std::nullopt;
  }
  const std::size_t bytes_per_pixel = static_cast<std::size_t>(header.bit_count) / 8;
  Bitmap picture(header.width, header.height);
  for (int y = 0; y < header.height; ++y) {
    const int stored_row = header.top_down ? y : header.height - 1 - y;
    const std::uint8_t* at =
        file.data() + header.pixel_offset + stride * static_cast<std::size_t>(stored_row);
    std::uint32_t* out = picture.row(y);
    for (int x = 0; x < header.width; ++x, at += bytes_per_pixel) {
      const std::uint32_t value = ReadPixel(at, header.bit_count);
      out[x] = (Scale(value, *red) << 16) | (Scale(value, *green) << 8) | Scale(value, *blue);
    }
  }
  return picture;
}
