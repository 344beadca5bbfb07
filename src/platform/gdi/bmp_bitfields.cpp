// Bit-field pictures: each channel scaled from its mask's width to 8 bits.
#include "platform/gdi/bmp_bitfields.h"

#include <bit>
#include <cstddef>
#include <vector>

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

// A channel's 8-bit values looked up rather than divided for, pixel by pixel: every
// value of its bits has its entry, for channels up to 16 bits wide.
class ChannelScale {
 public:
  explicit ChannelScale(const Channel& c) : channel_(c) {
    if (c.max == 0 || c.max > TABLE_LARGEST) return;
    table_.resize(static_cast<std::size_t>(c.max) + 1);
    for (std::uint32_t v = 0; v <= c.max; ++v) table_[v] = Scale(v << c.shift, c);
  }
  std::uint32_t operator()(std::uint32_t value) const {
    if (table_.empty()) return Scale(value, channel_);
    return table_[(value & channel_.mask) >> channel_.shift];
  }

 private:
  static constexpr std::uint64_t TABLE_LARGEST = 0xFFFF;
  Channel channel_;
  std::vector<std::uint8_t> table_;
};

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
  const ChannelScale scale_red(*red), scale_green(*green), scale_blue(*blue);
  Bitmap picture(header.width, header.height);
  for (int y = 0; y < header.height; ++y) {
    const int stored_row = header.top_down ? y : header.height - 1 - y;
    const std::uint8_t* at =
        file.data() + header.pixel_offset + stride * static_cast<std::size_t>(stored_row);
    std::uint32_t* out = picture.row(y);
    for (int x = 0; x < header.width; ++x, at += bytes_per_pixel) {
      const std::uint32_t value = ReadPixel(at, header.bit_count);
      out[x] = (scale_red(value) << 16) | (scale_green(value) << 8) | scale_blue(value);
    }
  }
  return picture;
}
