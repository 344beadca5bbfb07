// A 14-byte file header, a 40-byte info header and the rows from the bottom up,
// each padded to four bytes.
#include "support/bmp_writer.h"

#include <cstdint>

void Put16(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

std::string Bmp24(const Bitmap& picture) {
  const std::uint32_t width = static_cast<std::uint32_t>(picture.width());
  const std::uint32_t height = static_cast<std::uint32_t>(picture.height());
  const std::uint32_t stride = (width * 3 + 3) / 4 * 4;
  const std::uint32_t offset = 14 + 40;
  std::string out = "BM";
  Put32(out, offset + stride * height);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, width);
  Put32(out, height);
  Put16(out, 1);   // planes
  Put16(out, 24);  // bits per pixel
  Put32(out, 0);   // uncompressed
  Put32(out, stride * height);
  Put32(out, 2835);  // 72 dots per inch
  Put32(out, 2835);
  Put32(out, 0);
  Put32(out, 0);
  for (int y = picture.height() - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width(); ++x) {
      const std::uint32_t pixel = picture.pixel(x, y);
      out += static_cast<char>(pixel & 0xFF);
      out += static_cast<char>((pixel >> 8) & 0xFF);
      out += static_cast<char>((pixel >> 16) & 0xFF);
    }
    out.append(stride - width * 3, '\0');
  }
  return out;
}
