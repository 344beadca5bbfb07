// The colours of 16- and 32-bit pixels whose channels are given by bit masks: the
// library takes only the masks of its own pixel formats, and Windows shows the
// others too.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/gdi/bmp_header.h"

class BitFieldColours {
 public:
  // Nothing for a mask whose bits are not one contiguous run, or for pixels of
  // another size.
  static std::optional<BitFieldColours> For(const BmpHeader& header);
  // A row of stored pixels as the page's opaque 0x00RRGGBB, each channel scaled from
  // its mask's width to 8 bits.
  void ConvertRow(const std::uint8_t* stored, int width, std::uint32_t* out) const;

  // One colour channel: where its bits lie, the largest value they hold, and for
  // channels up to 16 bits wide the 8-bit value of each, looked up rather than
  // divided for pixel by pixel.
  struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t max = 0;
    std::vector<std::uint8_t> table;
    std::uint32_t Scaled(std::uint32_t pixel) const;
  };

 private:
  BitFieldColours(Channel red, Channel green, Channel blue, int bytes_per_pixel);
  Channel red_, green_, blue_;
  int bytes_per_pixel_;
};
