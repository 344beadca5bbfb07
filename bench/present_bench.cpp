// The copy of a whole page to the window at each scale of the window (1 to 4, as
// full screen gives on a 4K display): the cost at 4 against the cost at 1.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <memory>

#include "platform/gdi/bitmap.h"
#include "platform/sdl/page_view.h"
#include "platform/window/window.h"

namespace {

struct SurfaceFree {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

// The whole page presented at a window of range(0) / 2 times its size: whole factors
// and the fractional fits of a resized window between them.
void BM_ScaledPresent(benchmark::State& state) {
  const int half_scale = static_cast<int>(state.range(0));
  Bitmap page(CLIENT_WIDTH, CLIENT_HEIGHT);
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) page.set_pixel(x, y, 0x010203u * (x ^ y));
  }
  const std::unique_ptr<SDL_Surface, SurfaceFree> surface(SDL_CreateRGBSurfaceWithFormat(
      0, CLIENT_WIDTH * half_scale / 2, CLIENT_HEIGHT * half_scale / 2, 32, SDL_PIXELFORMAT_RGB888));
  const PageView view = PageView::Fit(surface->w, surface->h);
  const RECT whole{0, 0, CLIENT_WIDTH, CLIENT_HEIGHT};
  for (auto _ : state) {
    ShowPage(page, whole, view, *surface);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ScaledPresent)->DenseRange(2, 8)->Unit(benchmark::kMicrosecond);

}  // namespace
