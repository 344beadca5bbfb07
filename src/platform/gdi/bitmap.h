// A bitmap: 32-bit pixels in memory, 0x00RRGGBB, rows top-down.
#pragma once

#include <cstdint>
#include <vector>

class Bitmap {
 public:
  Bitmap(int width, int height)
      : width_(width > 0 ? width : 0),
        height_(height > 0 ? height : 0),
        pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0) {}

  int width() const { return width_; }
  int height() const { return height_; }
  std::uint32_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  const std::uint32_t* row(int y) const {
    return pixels_.data() + static_cast<std::size_t>(y) * width_;
  }
  std::uint32_t pixel(int x, int y) const { return row(y)[x]; }
  void set_pixel(int x, int y, std::uint32_t value) { row(y)[x] = value; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
};

// 0x00RRGGBB pixels from and to Win32 colour values (0x00BBGGRR).
constexpr std::uint32_t PixelFromColor(std::uint32_t colorref) {
  return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}
constexpr std::uint32_t ColorFromPixel(std::uint32_t pixel) { return PixelFromColor(pixel); }
