// The page's place on the window's surface, and the copy onto it.
#include "platform/sdl/page_view.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/window/window.h"

PageView PageView::Fit(int surface_width, int surface_height) {
  PageView view;
  if (std::int64_t{surface_width} * CLIENT_HEIGHT <=
             std::int64_t{surface_height} * CLIENT_WIDTH) {
    view.width = std::max(1, surface_width);
    view.height = std::max(1, surface_width * CLIENT_HEIGHT / CLIENT_WIDTH);
  } else {
    view.height = std::max(1, surface_height);
    view.width = std::max(1, surface_height * CLIENT_WIDTH / CLIENT_HEIGHT);
  }
  view.x = std::max(0, (surface_width - view.width) / 2);
  view.y = std::max(0, (surface_height - view.height) / 2);
  return view;
}

int FittingScale(int usable_width, int usable_height, int frame_width, int frame_height) {
  const int by_width = (usable_width - frame_width) / CLIENT_WIDTH;
  const int by_height = (usable_height - frame_height) / CLIENT_HEIGHT;
  return std::max(1, std::min(by_width, by_height));
}

bool LiesOnADisplay(const SDL_Rect& page, const std::vector<SDL_Rect>& displays) {
  const SDL_Point middle{page.x + page.w / 2, page.y + page.h / 2};
  return std::any_of(displays.begin(), displays.end(),
                     [&](const SDL_Rect& display) { return SDL_PointInRect(&middle, &display); });
}

int PageView::SurfaceX(int page_x) const { return x + page_x * width / CLIENT_WIDTH; }
int PageView::SurfaceY(int page_y) const { return y + page_y * height / CLIENT_HEIGHT; }
int PageView::PageX(int surface_x) const {
  return std::clamp((surface_x - x) * CLIENT_WIDTH / width, 0, CLIENT_WIDTH - 1);
}
int PageView::PageY(int surface_y) const {
  return std::clamp((surface_y - y) * CLIENT_HEIGHT / height, 0, CLIENT_HEIGHT - 1);
}

namespace {

// The whole factor of an enlargement whose surface columns from left on start on a
// page pixel's first copy, else 0: the page's columns then need no table, each one
// is simply repeated.
int WholeFactor(const PageView& view, int left) {
  if (view.width % CLIENT_WIDTH != 0) return 0;
  const int factor = view.width / CLIENT_WIDTH;
  return (left - view.x) % factor == 0 ? factor : 0;
}

// Each page pixel factor times, the row's end perhaps cut short; a factor known to
// the compiler lets it write whole vectors.
template <int FACTOR>
void RepeatPixels(const std::uint32_t* in, int width, int factor, std::uint32_t* out) {
  if constexpr (FACTOR > 0) factor = FACTOR;
  const int whole = width / factor;
  for (int i = 0; i < whole; ++i) {
    for (int j = 0; j < factor; ++j) out[i * factor + j] = in[i];
  }
  for (int k = whole * factor; k < width; ++k) out[k] = in[k / factor];
}

// One surface row of width pixels from its page row.
void SampleRow(const std::uint32_t* in, const std::vector<int>& columns, int factor,
               std::uint32_t* out) {
  const int width = static_cast<int>(columns.size());
  in += columns[0];
  if (factor == 1) {
    std::memcpy(out, in, static_cast<std::size_t>(width) * sizeof *out);
  } else if (factor == 2) {
    RepeatPixels<2>(in, width, factor, out);
  } else if (factor == 3) {
    RepeatPixels<3>(in, width, factor, out);
  } else if (factor == 4) {
    RepeatPixels<4>(in, width, factor, out);
  } else if (factor > 4) {
    RepeatPixels<0>(in, width, factor, out);
  } else {
    for (int k = 0; k < width; ++k) out[k] = in[columns[k] - columns[0]];
  }
}

}  // namespace

void ShowPage(const Bitmap& page, const RECT& changed, const PageView& view, SDL_Surface& surface) {
  const int left = std::max(0, view.SurfaceX(std::max(0, changed.left)));
  const int top = std::max(0, view.SurfaceY(std::max(0, changed.top)));
  const int right = std::min(surface.w, view.SurfaceX(std::min<int>(changed.right, page.width())));
  const int bottom =
      std::min(surface.h, view.SurfaceY(std::min<int>(changed.bottom, page.height())));
  if (right <= left || bottom <= top) return;
  const int width = right - left;
  std::vector<int> columns(static_cast<std::size_t>(width));
  for (int k = 0; k < width; ++k) columns[k] = (left + k - view.x) * CLIENT_WIDTH / view.width;
  const int factor = WholeFactor(view, left);

  // Each surface row samples its page row; other pixel formats go through a row
  // of the page's format. A page row that an enlargement shows on several surface
  // rows is sampled once and copied to the others.
  const bool same_format = surface.format->format == SDL_PIXELFORMAT_RGB888;
  std::vector<std::uint32_t> staging(same_format ? 0 : static_cast<std::size_t>(width));
  const std::size_t row_bytes = static_cast<std::size_t>(width) * surface.format->BytesPerPixel;
  const std::uint8_t* sampled = nullptr;
  int sampled_page_row = -1;
  for (int row = top; row < bottom; ++row) {
    const int page_row = std::min((row - view.y) * CLIENT_HEIGHT / view.height, page.height() - 1);
    std::uint8_t* line = static_cast<std::uint8_t*>(surface.pixels) +
                         static_cast<std::ptrdiff_t>(row) * surface.pitch +
                         left * surface.format->BytesPerPixel;
    if (page_row == sampled_page_row) {
      std::memcpy(line, sampled, row_bytes);
      continue;
    }
    std::uint32_t* out = same_format ? reinterpret_cast<std::uint32_t*>(line) : staging.data();
    SampleRow(page.row(page_row), columns, factor, out);
    if (!same_format) {
      SDL_ConvertPixels(width, 1, SDL_PIXELFORMAT_RGB888, staging.data(), width * 4,
                        surface.format->format, line, surface.pitch);
    }
    sampled = line;
    sampled_page_row = page_row;
  }
}
