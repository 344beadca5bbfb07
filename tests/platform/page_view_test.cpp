// The page on the window's surface: the window's default scale, the largest whole
// factor at which page and frame fit the display's usable area; the page's place, the
// largest 4:3 rectangle in the middle of any surface; and the copy, where every surface
// pixel of the changed area holds the page pixel under it, at whole factors and at
// fractional fits, and nothing outside the area is touched.
#include "platform/sdl/page_view.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

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
    PageView view;  // the largest 4:3 place, centred
  } surfaces[] = {{640, 480, {0, 0, 640, 480}},       {1280, 960, {0, 0, 1280, 960}},
                  {2560, 1920, {0, 0, 2560, 1920}},   {1400, 960, {60, 0, 1280, 960}},
                  {1920, 1080, {240, 0, 1440, 1080}}, {1000, 700, {33, 0, 933, 700}},
                  {1000, 500, {167, 0, 666, 500}},    {500, 400, {0, 12, 500, 375}}};
  for (const auto& s : surfaces) {
    const std::unique_ptr<SDL_Surface, SurfaceFree> surface(
        SDL_CreateRGBSurfaceWithFormat(0, s.width, s.height, 32, SDL_PIXELFORMAT_RGB888));
    const PageView view = PageView::Fit(s.width, s.height);
    EXPECT_EQ(std::tie(view.x, view.y, view.width, view.height),
              std::tie(s.view.x, s.view.y, s.view.width, s.view.height));
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
