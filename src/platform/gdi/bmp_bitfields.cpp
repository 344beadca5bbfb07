// Bit-field pixels: each channel scaled from its mask's width to 8 bits.
#include "platform/gdi/bmp_bitfields.h"

#include <bit>
#include <cstddef>
#include <utility>

namespace {

using Channel = BitFieldColours::Channel;

constexpr std::uint64_t TABLE_LARGEST = 0xFFFF;

// Rounded to the nearest 8-bit value, so that a channel's largest value is 255.
std::uint32_t Divided(std::uint32_t pixel, const Channel& c) {
  if (c.max == 0) return 0;
  const std::uint64_t v = (pixel & c.mask) >> c.shift;
  return static_cast<std::uint32_t>((v * 255 + c.max / 2) / c.max);
}

std::optional<Channel> MakeChannel(std::uint32_t mask) {
  if (mask == 0) return Channel{0, 0, 0, {0}};  // an absent channel reads as 0
  const int shift = std::countr_zero(mask);
  const std::uint64_t run = std::uint64_t{mask} >> shift;
  if ((run & (run + 1)) != 0) return std::nullopt;  // a gap inside the mask
  Channel c{mask, shift, run, {}};
  if (run <= TABLE_LARGEST) {
    c.table.resize(static_cast<std::size_t>(run) + 1);
    for (std::uint32_t v = 0; v <= run; ++v) c.table[v] = Divided(v << shift, c);
  }
  return c;
}

template <int BYTES>
std::uint32_t ReadPixel(const std::uint8_t* at) {
  std::uint32_t value = at[0] | (std::uint32_t{at[1]} << 8);
  if constexpr (BYTES == 4) value |= (std::uint32_t{at[2]} << 16) | (std::uint32_t{at[3]} << 24);
  return value;
}

template <int BYTES>
void ConvertPixels(const std::uint8_t* stored, int width, std::uint32_t* out, const Channel& red,
                   const Channel& green, const Channel& blue) {
  for (int x = 0; x < width; ++x, stored += BYTES) {
    const std::uint32_t pixel = ReadPixel<BYTES>(stored);
    out[x] = (red.Scaled(pixel) << 16) | (green.Scaled(pixel) << 8) | blue.Scaled(pixel);
  }
}

// The common case, every channel looked up, with nothing to decide per pixel.
template <int BYTES>
void LookUpPixels(const std::uint8_t* stored, int width, std::uint32_t* out, const Channel& red,
                  const Channel& green, const Channel& blue) {
  const std::uint8_t* r = red.table.data();
  const std::uint8_t* g = green.table.data();
  const std::uint8_t* b = blue.table.data();
  for (int x = 0; x < width; ++x, stored += BYTES) {
    const std::uint32_t pixel = ReadPixel<BYTES>(stored);
    out[x] = std::uint32_t{r[(pixel & red.mask) >> red.shift]} << 16 |
             std::uint32_t{g[(pixel & green.mask) >> green.shift]} << 8 |
             b[(pixel & blue.mask) >> blue.shift];
  }
}

bool LookedUp(const Channel& c) { return !c.table.empty(); }

}  // namespace

std::uint32_t BitFieldColours::Channel::Scaled(std::uint32_t pixel) const {
  if (table.empty()) return Divided(pixel, *this);
  return table[(pixel & mask) >> shift];
}

BitFieldColours::BitFieldColours(Channel red, Channel green, Channel blue, int bytes_per_pixel)
    : red_(std::move(red)),
      green_(std::move(green)),
      blue_(std::move(blue)),
      bytes_per_pixel_(bytes_per_pixel) {}

std::optional<BitFieldColours> BitFieldColours::For(const BmpHeader& header) {
  if (header.bit_count != 16 && header.bit_count != 32) return std::nullopt;
  std::optional<Channel> red = MakeChannel(header.red_mask);
  std::optional<Channel> green = MakeChannel(header.green_mask);
  std::optional<Channel> blue = MakeChannel(header.blue_mask);
  if (!red || !green || !blue) return std::nullopt;
  return BitFieldColours(std::move(*red), std::move(*green), std::move(*blue),
                         header.bit_count / 8);
}

void BitFieldColours::ConvertRow(const std::uint8_t* stored, int width, std::uint32_t* out) const {
  if (LookedUp(red_) && LookedUp(green_) && LookedUp(blue_)) {
    if (bytes_per_pixel_ == 2) return LookUpPixels<2>(stored, width, out, red_, green_, blue_);
    return LookUpPixels<4>(stored, width, out, red_, green_, blue_);
  }
  if (bytes_per_pixel_ == 2) return ConvertPixels<2>(stored, width, out, red_, green_, blue_);
  ConvertPixels<4>(stored, width, out, red_, green_, blue_);
}
