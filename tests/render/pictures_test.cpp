// The BMP Suite: good and questionable pictures against their references, the rest rejected or harmless.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gdi/picture_file.h"
#include "support/test_data.h"

namespace {

std::string Suite(const std::string& file) { return TestDataPath("bmpsuite/" + file); }

// 0xAARRGGBB; alpha 0 marks a pixel that the reference leaves undefined.
std::vector<std::uint32_t> ReadReference(const std::string& path, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  width = static_cast<int>(image.width), height = static_cast<int>(image.height);
  std::vector<std::uint32_t> argb(static_cast<std::size_t>(width) * height);
  if ((image.format & PNG_FORMAT_FLAG_LINEAR) == 0) {
    image.format = PNG_FORMAT_BGRA;
    return png_image_finish_read(&image, nullptr, argb.data(), 0, nullptr) ? argb : decltype(argb){};
  }
  // 16-bit references read as stored; only opaque pixels kept, as libpng premultiplies the others.
  image.format = PNG_FORMAT_LINEAR_RGB_ALPHA;
  std::vector<std::uint16_t> rgba(argb.size() * 4);
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return {};
  for (std::size_t i = 0; i < argb.size(); ++i) {
    const auto eight = [p = &rgba[i * 4]](int c) { return (p[c] * 255u + 32767) / 65535; };
    argb[i] = rgba[i * 4 + 3] != 0xFFFF ? 0 : 0xFF000000u | eight(0) << 16 | eight(1) << 8 | eight(2);
  }
  return argb;
}

// Every loaded picture is opaque RGB: the top byte is never alpha.
bool AllOpaqueRgb(const Bitmap& p) {
  return std::all_of(p.row(0), p.row(0) + static_cast<std::size_t>(p.width()) * p.height(),
                     [](std::uint32_t v) { return v >> 24 == 0; });
}

// Matches any one of its space-separated references, each channel within tolerance (1 if widened).
void ExpectLoadsAsReference(const std::string& file, const std::string& references, int tolerance) {
  SCOPED_TRACE(file);
  const std::optional<Bitmap> picture = LoadBitmapFile(Suite(file));
  ASSERT_TRUE(picture && AllOpaqueRgb(*picture));
  std::string results;
  std::istringstream names(references);
  for (std::string name; names >> name;) {
    int width = 0, height = 0, compared = 0, differing = 0;
    const std::vector<std::uint32_t> reference = ReadReference(Suite("ref/" + name), width, height);
    ASSERT_TRUE(!reference.empty() && picture->width() == width && picture->height() == height) << name;
    for (std::size_t i = 0; i < reference.size(); ++i) {
      const std::uint32_t expected = reference[i], actual = picture->pixel(int(i % width), int(i / width));
      if ((expected >> 24) == 0) continue;  // undefined in the reference
      ++compared;
      const auto off = [&](int shift) { return std::abs(int(expected >> shift & 0xFF) - int(actual >> shift & 0xFF)) > tolerance; };
      differing += off(0) || off(8) || off(16) ? 1 : 0;
    }
    EXPECT_GT(compared, width * height / 2) << name << " defines too little to prove anything";
    if (differing == 0) return;
    results += name + ": " + std::to_string(differing) + " pixels differ; ";
  }
  ADD_FAILURE() << results;
}

TEST(BmpSuite, GoodAndQuestionablePicturesMatchTheirReferences) {
  const struct { const char* file; const char* references; int tolerance = 0; } cases[] = {
      {"g/pal1.bmp", "pal1.png"}, {"g/pal1wb.bmp", "pal1.png"}, {"g/pal1bg.bmp", "pal1bg.png"}, {"g/pal4.bmp", "pal4.png"},
      {"g/pal4gs.bmp", "pal4gs.png"}, {"g/pal4rle.bmp", "pal4.png"}, {"g/pal8.bmp", "pal8.png"}, {"g/pal8-0.bmp", "pal8.png"},
      {"g/pal8gs.bmp", "pal8gs.png"}, {"g/pal8rle.bmp", "pal8.png"}, {"g/pal8w126.bmp", "pal8w126.png"},
      {"g/pal8w125.bmp", "pal8w125.png"}, {"g/pal8w124.bmp", "pal8w124.png"}, {"g/pal8topdown.bmp", "pal8.png"},
      {"g/pal8os2.bmp", "pal8.png"}, {"g/pal8nonsquare.bmp", "pal8nonsquare-e.png"},  // as stored, never stretched
      {"g/pal8v4.bmp", "pal8.png"}, {"g/pal8v5.bmp", "pal8.png"}, {"g/rgb16.bmp", "rgb16.png", 1},
      {"g/rgb16bfdef.bmp", "rgb16.png", 1}, {"g/rgb16-565.bmp", "rgb16-565.png", 1}, {"g/rgb16-565pal.bmp", "rgb16-565.png", 1},
      {"g/rgb24.bmp", "rgb24.png"}, {"g/rgb24pal.bmp", "rgb24.png"}, {"g/rgb32.bmp", "rgb24.png"},
      {"g/rgb32bfdef.bmp", "rgb24.png"}, {"g/rgb32bf.bmp", "rgb24.png"}, {"q/pal1p1.bmp", "pal1p1.png"},
      {"q/pal2.bmp", "pal2.png"}, {"q/pal2color.bmp", "pal2color.png"},  // below: run-length skips take colour 0
      {"q/pal4rletrns.bmp", "pal4rletrns-0.png pal4rletrns-b.png"}, {"q/pal4rlecut.bmp", "pal4rlecut-0.png pal4rlecut-b.png"},
      {"q/pal8rletrns.bmp", "pal8rletrns-0.png pal8rletrns-b.png"}, {"q/pal8rlecut.bmp", "pal8rlecut-0.png pal8rlecut-b.png"},
      {"q/pal8offs.bmp", "pal8.png"}, {"q/pal8oversizepal.bmp", "pal8.png"}, {"q/pal8os2-sz.bmp", "pal8.png"},
      {"q/pal8os2-hs.bmp", "pal8.png"}, {"q/pal8os2sp.bmp", "pal8.png"}, {"q/pal8os2v2.bmp", "pal8.png"},
      {"q/pal8os2v2-sz.bmp", "pal8.png"}, {"q/pal8os2v2-40sz.bmp", "pal8.png"},
      {"q/rgb16faketrns.bmp", "rgb16.png", 1}, {"q/rgb32fakealpha.bmp", "rgb24.png"},  // the top bits are no alpha
      {"q/rgb16-231.bmp", "rgb16-231.png", 1}, {"q/rgb16-3103.bmp", "rgb16-3103.png", 1},
      {"q/rgba16-4444.bmp", "rgba16-4444.png", 1}, {"q/rgba16-5551.bmp", "rgba16-5551.png", 1},
      {"q/rgba16-1924.bmp", "rgba16-1924.png", 1}, {"q/rgb24largepal.bmp", "rgb24.png"}, {"q/rgb24prof.bmp", "rgb24.png"},
      {"q/rgb24lprof.bmp", "rgb24.png"}, {"q/rgb32h52.bmp", "rgb24.png"}, {"q/rgb32-xbgr.bmp", "rgb24.png"},
      {"q/rgb32-111110.bmp", "rgb24.png", 1}, {"q/rgb32-7187.bmp", "rgb32-7187.png", 1}, {"q/rgba32-1.bmp", "rgba32.png"},
      {"q/rgba32-2.bmp", "rgba32.png"}, {"q/rgba32-1010102.bmp", "rgba32-1010102.png", 1},
      {"q/rgba32-81284.bmp", "rgba32-81284.png", 1}, {"q/rgba32-61754.bmp", "rgba32-61754.png", 1},
      {"q/rgba32abf.bmp", "rgba32.png"}, {"q/rgba32h56.bmp", "rgba32.png"}};
  for (const auto& c : cases) ExpectLoadsAsReference(c.file, c.references, c.tolerance);
}

// The rest: rejected, loaded at 127x64, or either; never a crash or a read outside the file.
TEST(BmpSuite, OtherFilesAreRejectedOrHarmless) {
  enum Outcome { Rejected, Loads, Either };
  const std::pair<const char*, Outcome> cases[] = {
      {"q/pal8os2v2-16.bmp", Rejected}, {"q/rgb24rle24.bmp", Rejected}, {"q/pal1huffmsb.bmp", Rejected},
      {"q/rgb24jpeg.bmp", Rejected}, {"q/rgb24png.bmp", Rejected}, {"q/rgba64.bmp", Rejected}, {"x/ba-bm.bmp", Rejected},
      {"b/badbitcount.bmp", Rejected}, {"b/badwidth.bmp", Rejected}, {"b/reallybig.bmp", Rejected}, {"b/shortfile.bmp", Rejected},
      {"b/rletopdown.bmp", Rejected}, {"b/badheadersize.bmp", Rejected}, {"q/rgb24prof2.bmp", Loads},  // channels stay swapped
      {"b/badbitssize.bmp", Either}, {"b/baddens1.bmp", Either}, {"b/baddens2.bmp", Either}, {"b/badfilesize.bmp", Either},
      {"b/badpalettesize.bmp", Either}, {"b/badplanes.bmp", Either}, {"b/badrle4.bmp", Either}, {"b/badrle.bmp", Either},
      {"b/badrle4bis.bmp", Either}, {"b/badrle4ter.bmp", Either}, {"b/badrlebis.bmp", Either}, {"b/badrleter.bmp", Either},
      {"b/pal8badindex.bmp", Either}, {"b/rgb16-880.bmp", Either}};
  for (const auto& [file, outcome] : cases) {
    const std::optional<Bitmap> picture = LoadBitmapFile(Suite(file));
    EXPECT_TRUE(outcome == Either || picture.has_value() == (outcome == Loads)) << file;
    EXPECT_TRUE(!picture || (picture->width() == 127 && picture->height() == 64 && AllOpaqueRgb(*picture))) << file;
  }
}

}  // namespace
