// Shading a rectangle of a surface.
#include "platform/gdi/shade.h"

#include <algorithm>

bool ShadeRect(Surface& surface, const RECT& rect, int keep_256ths) {
  if (surface.bitmap == nullptr) return false;
  Bitmap& bitmap = *surface.bitmap;
  const RECT area{std::max(rect.left, 0), std::max(rect.top, 0),
                  std::min(rect.right, bitmap.width()), std::min(rect.bottom, bitmap.height())};
  if (area.right <= area.left || area.bottom <= area.top) return true;
  const auto keep = static_cast<std::uint32_t>(std::clamp(keep_256ths, 0, 256));
  for (int y = area.top; y < area.bottom; ++y) {
    std::uint32_t* row = bitmap.row(y);
    for (int x = area.left; x < area.right; ++x) {
      const std::uint32_t pixel = row[x];
      // Red and blue together, green alone: each product stays within its own bytes.
      const std::uint32_t red_blue = ((pixel & 0xFF00FF) * keep >> 8) & 0xFF00FF;
      const std::uint32_t green = ((pixel & 0x00FF00) * keep >> 8) & 0x00FF00;
      row[x] = red_blue | green;
    }
  }
  surface.NotifyChanged(area);
  return true;
}
