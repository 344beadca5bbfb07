// A bitmap: 32-bit pixels in memory, 0x00RRGGBB, rows top-down. Its memory comes
// zeroed (black) from the system, which commits a page only when a pixel in it is
// first touched: a surface that stays black costs no memory. A bitmap may also be
// laid over rows that another owns, so that a picture can be decoded in place.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>

// Zeroed memory for pixels, straight from the system; in 2 MB pages where the
// kernel can give them, for a bitmap of that size or more.
std::uint32_t* MapPixels(std::size_t bytes);
void UnmapPixels(std::uint32_t* pixels, std::size_t bytes);

class Bitmap {
 public:
  Bitmap(int width, int height)
      : width_(width > 0 ? width : 0), height_(height > 0 ? height : 0), pixels_(Allocate()) {}
  Bitmap(const Bitmap& other) : width_(other.width_), height_(other.height_), pixels_(Allocate()) {
    std::copy_n(other.pixels_.get(), pixel_count(), pixels_.get());
  }
  Bitmap(Bitmap&&) noexcept = default;
  // A bitmap over width x height pixels that belong to another bitmap, which must
  // outlive it; a copy of it has pixels of its own.
  static Bitmap Over(std::uint32_t* pixels, int width, int height) {
    return Bitmap(pixels, width, height);
  }
  Bitmap& operator=(const Bitmap& other) { return *this = Bitmap(other); }
  Bitmap& operator=(Bitmap&&) noexcept = default;

  int width() const { return width_; }
  int height() const { return height_; }
  std::uint32_t* row(int y) { return pixels_.get() + static_cast<std::size_t>(y) * width_; }
  const std::uint32_t* row(int y) const {
    return pixels_.get() + static_cast<std::size_t>(y) * width_;
  }
  std::uint32_t pixel(int x, int y) const { return row(y)[x]; }
  void set_pixel(int x, int y, std::uint32_t value) { row(y)[x] = value; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

 private:
  struct Release {
    std::size_t bytes;  // 0: the pixels are another bitmap's
    void operator()(std::uint32_t* pixels) const {
      if (bytes != 0) UnmapPixels(pixels, bytes);
    }
  };
  Bitmap(std::uint32_t* pixels, int width, int height)
      : width_(width), height_(height), pixels_(pixels, Release{0}) {}
  std::size_t pixel_count() const {
    return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  }
  std::unique_ptr<std::uint32_t[], Release> Allocate() const {
    const std::size_t bytes = (pixel_count() + 1) * sizeof(std::uint32_t);
    return std::unique_ptr<std::uint32_t[], Release>(MapPixels(bytes), Release{bytes});
  }

  int width_;
  int height_;
  std::unique_ptr<std::uint32_t[], Release> pixels_;
};

// 0x00RRGGBB pixels from and to Win32 colour values (0x00BBGGRR).
constexpr std::uint32_t PixelFromColor(std::uint32_t colorref) {
  return ((colorref & 0xFF) << 16) | (colorref & 0xFF00) | ((colorref >> 16) & 0xFF);
}
constexpr std::uint32_t ColorFromPixel(std::uint32_t pixel) { return PixelFromColor(pixel); }
