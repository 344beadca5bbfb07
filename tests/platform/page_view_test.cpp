// The page on the window's surface: the window's default scale, the largest whole
// factor at which page and frame fit the display's usable area; and the copy, where
// every surface pixel of the changed area holds the page pixel under it, at whole
// factors (with and without a border) and at the fractional fits of full screen, and
// nothing outside the area is touched.
#include "platform/sdl/page_view.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct SurfaceFree {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

TEST(PageView, EverySurfacePixelOfTheAreaHoldsThePagePixelUnderIt) {
  Bitmap page(640, 480);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) page.set_pixel(x, y, std::uint32_t(x) << 12 | std::uint32_t(y));
  }
  constexpr std::uint32_t UNTOUCHED = 0xFFABCDEF;
  const struct {
    int width, height;
    bool whole_factor;
  } surfaces[] = {{640, 480, true},   {1280, 960, true},   {2560, 1920, true},
                  {1400, 960, false}, {1920, 1080, false}, {1000, 700, false}};
  for (const auto& s : surfaces) {
    const std::unique_ptr<SDL_Surface, SurfaceFree> surface(
        SDL_CreateRGBSurfaceWithFormat(0, s.width, s.height, 32, SDL_PIXELFORMAT_RGB888));
    const PageView view = PageView::Fit(s.width, s.height, s.whole_factor);
    for (const RECT area : {RECT{0, 0, 640, 480}, RECT{3, 5, 17, 9}, RECT{-4, 470, 700, 500}}) {
      SDL_FillRect(surface.get(), nullptr, UNTOUCHED);
      ShowPage(page, area, view, *surface);
      const RECT shown{view.SurfaceX(std::max(0, area.left)), view.SurfaceY(std::max(0, area.top)),
                       view.SurfaceX(std::min(640, area.right)),
                       view.SurfaceY(std::min(480, area.bottom))};
      for (int y = 0; y < s.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < s.width; ++x) {
          const bool inside =
              x >= shown.left && x < shown.right && y >= shown.top && y < shown.bottom;
          const std::uint32_t expected =
              inside ? page.pixel(view.PageX(x), view.PageY(y)) : UNTOUCHED & 0xFFFFFF;
          ASSERT_EQ(row[x] & 0xFFFFFF, expected)
              << s.width << "x" << s.height << " at " << x << "," << y << ", area from "
              << area.left << "," << area.top;
        }
      }
    }
  }
}

TEST(WindowScale, LargestWholeFactorWhosePageAndFrameFitTheUsableArea) {
  const struct {
    int usable_width, usable_height, frame_width, frame_height, scale;
  } cases[] = {
      {1280, 1024 - 40, 2, 30, 1},  // 960 rows and the title bar pass the panel
      {1920, 1080 - 40, 2, 30, 2}, {1280, 1024, 0, 0, 2}, {3840, 2160 - 40, 2, 30, 4},
      {1282, 990, 2, 30, 2},                             // exactly fits
      {1281, 990, 2, 30, 1},       {600, 400, 0, 0, 1},  // nothing fits: the page still shows at
                                                         // its own size
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FittingScale(c.usable_width, c.usable_height, c.frame_width, c.frame_height), c.scale)
        << c.usable_width << "x" << c.usable_height;
  }
}

}  // namespace
