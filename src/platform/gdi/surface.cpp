// Device contexts and the pixel copies, fills and lines between them.
#include "platform/gdi/surface.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace {

// Intersects [start, start + length) with [0, limit) in 64 bits, so that no
// coordinate a script can produce overflows.
struct Span {
  std::int64_t start;
  std::int64_t end;
  bool empty() const { return end <= start; }
};

Span Clip(std::int64_t start, std::int64_t length, std::int64_t limit) {
  return {std::max<std::int64_t>(start, 0), std::min<std::int64_t>(start + length, limit)};
}

// A row that already holds what a copy or a fill would put there is left unwritten,
// so that the pages of a bitmap that stays black are never committed (see Bitmap).
// Whether the row was written.
bool CopyRow(std::uint32_t* target, const std::uint32_t* source, std::size_t bytes, bool overlap) {
  if (overlap) {
    std::memmove(target, source, bytes);
    return true;
  }
  if (std::memcmp(target, source, bytes) == 0) return false;
  std::memcpy(target, source, bytes);
  return true;
}

void FillRow(std::uint32_t* begin, std::uint32_t* end, std::uint32_t pixel) {
  if (std::any_of(begin, end, [pixel](std::uint32_t p) { return p != pixel; })) {
    std::fill(begin, end, pixel);
  }
}

// The pixels a line has put, as the smallest rectangle around them.
struct PutPixels {
  std::int64_t left, top, right = -1, bottom = -1;
  void Add(std::int64_t x, std::int64_t y) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
  }
  RECT rect() const {
    return {static_cast<std::int32_t>(left), static_cast<std::int32_t>(top),
            static_cast<std::int32_t>(right + 1), static_cast<std::int32_t>(bottom + 1)};
  }
};

}  // namespace

std::unique_ptr<Surface> CreateCompatibleDC(const Surface*) { return std::make_unique<Surface>(); }

std::unique_ptr<Bitmap> CreateCompatibleBitmap(const Surface*, int width, int height) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
  return std::make_unique<Bitmap>(width, height);
}

Bitmap* SelectObject(Surface& surface, Bitmap* bitmap) {
  return std::exchange(surface.bitmap, bitmap);
}
const Font* SelectObject(Surface& surface, const Font* font) {
  return std::exchange(surface.font, font);
}
const Brush* SelectObject(Surface& surface, const Brush* brush) {
  return std::exchange(surface.brush, brush);
}
const Pen* SelectObject(Surface& surface, const Pen* pen) {
  return std::exchange(surface.pen, pen);
}
COLORREF SetTextColor(Surface& surface, COLORREF color) {
  return std::exchange(surface.text_color, color);
}
int SetBkMode(Surface& surface, int mode) { return std::exchange(surface.background_mode, mode); }

bool BitBlt(Surface& destination, int x, int y, int width, int height, const Surface& source,
            int source_x, int source_y, DWORD rop) {
  if (rop != SRCCOPY || !destination.bitmap || !source.bitmap) return false;
  Bitmap& to = *destination.bitmap;
  const Bitmap& from = *source.bitmap;
  // A pixel moves only when both its source and its destination lie inside.
  const std::int64_t dx = std::int64_t{source_x} - x;
  const std::int64_t dy = std::int64_t{source_y} - y;
  Span cols = Clip(x, width, to.width());
  Span rows = Clip(y, height, to.height());
  cols = {std::max(cols.start, -dx), std::min(cols.end, from.width() - dx)};
  rows = {std::max(rows.start, -dy), std::min(rows.end, from.height() - dy)};
  if (cols.empty() || rows.empty()) return true;

  const std::size_t bytes = static_cast<std::size_t>(cols.end - cols.start) * sizeof(std::uint32_t);
  const bool upwards = &to == &from && dy < 0;  // overlapping copy within one bitmap
  Span written{rows.end, rows.start};
  for (std::int64_t i = 0; i < rows.end - rows.start; ++i) {
    const std::int64_t row = upwards ? rows.end - 1 - i : rows.start + i;
    std::uint32_t* target = to.row(static_cast<int>(row)) + cols.start;
    const std::uint32_t* source_row = from.row(static_cast<int>(row + dy)) + cols.start + dx;
    if (CopyRow(target, source_row, bytes, &to == &from && dy == 0)) {  // one row onto itself
      written = {std::min(written.start, row), std::max(written.end, row + 1)};
    }
  }
  const auto rect = [&cols](const Span& of_rows) {
    if (of_rows.empty()) return RECT{};
    return RECT{static_cast<std::int32_t>(cols.start), static_cast<std::int32_t>(of_rows.start),
                static_cast<std::int32_t>(cols.end), static_cast<std::int32_t>(of_rows.end)};
  };
  destination.NotifyChanged(rect(rows), rect(written));
  return true;
}

bool PatBlt(Surface& destination, int x, int y, int width, int height, DWORD rop) {
  if (rop != PATCOPY || !destination.bitmap || !destination.brush) return false;
  Bitmap& to = *destination.bitmap;
  const Span cols = Clip(x, width, to.width());
  const Span rows = Clip(y, height, to.height());
  if (cols.empty() || rows.empty()) return true;
  const std::uint32_t pixel = PixelFromColor(destination.brush->color);
  for (std::int64_t row = rows.start; row < rows.end; ++row) {
    std::uint32_t* line = to.row(static_cast<int>(row));
    FillRow(line + cols.start, line + cols.end, pixel);
  }
  destination.NotifyChanged(
      {static_cast<std::int32_t>(cols.start), static_cast<std::int32_t>(rows.start),
       static_cast<std::int32_t>(cols.end), static_cast<std::int32_t>(rows.end)});
  return true;
}

bool MoveToEx(Surface& surface, int x, int y) {
  surface.pen_x = x;
  surface.pen_y = y;
  return true;
}

bool LineTo(Surface& surface, int x, int y) {
  const int from_x = surface.pen_x;
  const int from_y = surface.pen_y;
  surface.pen_x = x;
  surface.pen_y = y;
  if (!surface.bitmap || !surface.pen) return false;
  Bitmap& to = *surface.bitmap;
  const std::uint32_t pixel = PixelFromColor(surface.pen->color);
  // Bresenham from the start point up to, not including, the end point.
  const std::int64_t dx = std::llabs(std::int64_t{x} - from_x);
  const std::int64_t dy = -std::llabs(std::int64_t{y} - from_y);
  const int step_x = from_x < x ? 1 : -1;
  const int step_y = from_y < y ? 1 : -1;
  std::int64_t error = dx + dy;
  std::int64_t px = from_x;
  std::int64_t py = from_y;
  PutPixels put{to.width(), to.height()};
  while (px != x || py != y) {
    if (px >= 0 && py >= 0 && px < to.width() && py < to.height()) {
      to.set_pixel(static_cast<int>(px), static_cast<int>(py), pixel);
      put.Add(px, py);
    }
    const std::int64_t twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      px += step_x;
    }
    if (twice <= dx) {
      error += dx;
      py += step_y;
    }
  }
  surface.NotifyChanged(put.rect());
  return true;
}
