// The BMP Suite: good and questionable pictures against their references, the rest
// rejected or harmless as decided.
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

namespace {

const std::string kSuite = std::string(YOMU_TESTDATA_DIR) + "/bmpsuite/";

// 0xAARRGGBB; alpha 0 marks a pixel that the reference leaves undefined.
std::vector<std::uint32_t> ReadReference(const std::string& path, int& width, int& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  width = static_cast<int>(image.width);
  height = static_cast<int>(image.height);
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
    const std::uint16_t* p = &rgba[i * 4];
    argb[i] = p[3] != 0xFFFF ? 0 : 0xFF000000u | (p[0] * 255u + 32767) / 65535 << 16 |
                                       (p[1] * 255u + 32767) / 65535 << 8 | (p[2] * 255u + 32767) / 65535;
  }
  return argb;
}

// Every loaded picture is opaque RGB: the top byte is never alpha.
bool AllOpaqueRgb(const Bitmap& picture) {
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if ((picture.pixel(x, y) >> 24) != 0) return false;
    }
  }
  return true;
}

// Matches any one of its references (space-separated), each channel within tolerance.
void ExpectLoadsAsReference(const char* file, const std::string& references, int tolerance) {
  const std::optional<Bitmap> picture = LoadBitmapFile(kSuite + file);
  ASSERT_TRUE(picture.has_value());
  EXPECT_TRUE(AllOpaqueRgb(*picture));
  std::string results;
  std::istringstream names(references);
  for (std::string name; names >> name;) {
    int width = 0, height = 0, compared = 0, differing = 0;
    const std::vector<std::uint32_t> reference = ReadReference(kSuite + "ref/" + name, width, height);
    ASSERT_FALSE(reference.empty()) << name;
    ASSERT_EQ(picture->width(), width);
    ASSERT_EQ(picture->height(), height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const std::uint32_t expected = reference[static_cast<std::size_t>(y) * width + x], actual = picture->pixel(x, y);
        if ((expected >> 24) == 0) continue;
        ++compared;
        for (int shift = 0; shift < 24; shift += 8) {
          if (std::abs(int((expected >> shift) & 0xFF) - int((actual >> shift) & 0xFF)) > tolerance) {
            ++differing;
            break;
          }
        }
      }
    }
    EXPECT_GT(compared, width * height / 2) << name << " defines too little to prove anything";
    if (differing == 0) return;
    results += name + ": " + std::to_string(differing) + " pixels differ; ";
  }
  ADD_FAILURE() << results;
}

struct Matching {
  const char* file;
  const char* references;
  int tolerance;  // 1 where channels narrower than 8 bits are widened
};

TEST(BmpSuite, GoodPicturesMatchTheirReferences) {
  const Matching cases[] = {
      {"pal1.bmp", "pal1.png", 0}, {"pal1wb.bmp", "pal1.png", 0}, {"pal1bg.bmp", "pal1bg.png", 0},
      {"pal4.bmp", "pal4.png", 0}, {"pal4gs.bmp", "pal4gs.png", 0}, {"pal4rle.bmp", "pal4.png", 0},
      {"pal8.bmp", "pal8.png", 0}, {"pal8-0.bmp", "pal8.png", 0}, {"pal8gs.bmp", "pal8gs.png", 0},
      {"pal8rle.bmp", "pal8.png", 0}, {"pal8w126.bmp", "pal8w126.png", 0}, {"pal8w125.bmp", "pal8w125.png", 0},
      {"pal8w124.bmp", "pal8w124.png", 0}, {"pal8topdown.bmp", "pal8.png", 0}, {"pal8os2.bmp", "pal8.png", 0},
      {"pal8nonsquare.bmp", "pal8nonsquare-e.png", 0},  // pixels as stored, never stretched
      {"pal8v4.bmp", "pal8.png", 0}, {"pal8v5.bmp", "pal8.png", 0}, {"rgb16.bmp", "rgb16.png", 1},
      {"rgb16bfdef.bmp", "rgb16.png", 1}, {"rgb16-565.bmp", "rgb16-565.png", 1},
      {"rgb16-565pal.bmp", "rgb16-565.png", 1}, {"rgb24.bmp", "rgb24.png", 0}, {"rgb24pal.bmp", "rgb24.png", 0},
      {"rgb32.bmp", "rgb24.png", 0}, {"rgb32bfdef.bmp", "rgb24.png", 0}, {"rgb32bf.bmp", "rgb24.png", 0}};
  for (const Matching& c : cases) {
    SCOPED_TRACE(c.file);
    ExpectLoadsAsReference((std::string("g/") + c.file).c_str(), c.references, c.tolerance);
  }
}

TEST(BmpSuite, QuestionablePicturesLoadAsWanted) {
  const Matching cases[] = {
      {"pal1p1.bmp", "pal1p1.png", 0}, {"pal2.bmp", "pal2.png", 0}, {"pal2color.bmp", "pal2color.png", 0},
      // Pixels that the run-length codes skip take palette colour 0.
      {"pal4rletrns.bmp", "pal4rletrns-0.png pal4rletrns-b.png", 0},
      {"pal4rlecut.bmp", "pal4rlecut-0.png pal4rlecut-b.png", 0},
      {"pal8rletrns.bmp", "pal8rletrns-0.png pal8rletrns-b.png", 0},
      {"pal8rlecut.bmp", "pal8rlecut-0.png pal8rlecut-b.png", 0}, {"pal8offs.bmp", "pal8.png", 0},
      {"pal8oversizepal.bmp", "pal8.png", 0}, {"pal8os2-sz.bmp", "pal8.png", 0}, {"pal8os2-hs.bmp", "pal8.png", 0},
      {"pal8os2sp.bmp", "pal8.png", 0}, {"pal8os2v2.bmp", "pal8.png", 0}, {"pal8os2v2-sz.bmp", "pal8.png", 0},
      {"pal8os2v2-40sz.bmp", "pal8.png", 0}, {"rgb16faketrns.bmp", "rgb16.png", 1},  // the top bit is no alpha
      {"rgb16-231.bmp", "rgb16-231.png", 1}, {"rgb16-3103.bmp", "rgb16-3103.png", 1},
      {"rgba16-4444.bmp", "rgba16-4444.png", 1}, {"rgba16-5551.bmp", "rgba16-5551.png", 1},
      {"rgba16-1924.bmp", "rgba16-1924.png", 1}, {"rgb24largepal.bmp", "rgb24.png", 0},
      {"rgb24prof.bmp", "rgb24.png", 0}, {"rgb24lprof.bmp", "rgb24.png", 0}, {"rgb32h52.bmp", "rgb24.png", 0},
      {"rgb32-xbgr.bmp", "rgb24.png", 0}, {"rgb32fakealpha.bmp", "rgb24.png", 0},  // the fourth byte is no alpha
      {"rgb32-111110.bmp", "rgb24.png", 1}, {"rgb32-7187.bmp", "rgb32-7187.png", 1},
      {"rgba32-1.bmp", "rgba32.png", 0}, {"rgba32-2.bmp", "rgba32.png", 0},
      {"rgba32-1010102.bmp", "rgba32-1010102.png", 1}, {"rgba32-81284.bmp", "rgba32-81284.png", 1},
      {"rgba32-61754.bmp", "rgba32-61754.png", 1}, {"rgba32abf.bmp", "rgba32.png", 0},
      {"rgba32h56.bmp", "rgba32.png", 0}};
  for (const Matching& c : cases) {
    SCOPED_TRACE(c.file);
    ExpectLoadsAsReference((std::string("q/") + c.file).c_str(), c.references, c.tolerance);
  }
}

// The rest: rejected, loaded at 127x64, or either; never a crash or a read outside the file.
TEST(BmpSuite, OtherFilesAreRejectedOrHarmless) {
  enum Outcome { Rejected, Loads, Either };
  const std::pair<const char*, Outcome> cases[] = {
      {"q/pal8os2v2-16.bmp", Rejected}, {"q/rgb24rle24.bmp", Rejected}, {"q/pal1huffmsb.bmp", Rejected},
      {"q/rgb24jpeg.bmp", Rejected}, {"q/rgb24png.bmp", Rejected}, {"q/rgba64.bmp", Rejected},
      {"x/ba-bm.bmp", Rejected}, {"q/rgb24prof2.bmp", Loads},  // swapped channels stay swapped
      {"b/badbitcount.bmp", Rejected}, {"b/badwidth.bmp", Rejected}, {"b/reallybig.bmp", Rejected},
      {"b/rletopdown.bmp", Rejected}, {"b/shortfile.bmp", Rejected}, {"b/badheadersize.bmp", Rejected},
      {"b/badbitssize.bmp", Either}, {"b/baddens1.bmp", Either}, {"b/baddens2.bmp", Either},
      {"b/badfilesize.bmp", Either}, {"b/badpalettesize.bmp", Either}, {"b/badplanes.bmp", Either},
      {"b/badrle4.bmp", Either}, {"b/badrle4bis.bmp", Either}, {"b/badrle4ter.bmp", Either},
      {"b/badrle.bmp", Either}, {"b/badrlebis.bmp", Either}, {"b/badrleter.bmp", Either},
      {"b/pal8badindex.bmp", Either}, {"b/rgb16-880.bmp", Either}};
  for (const auto& [file, outcome] : cases) {
    const std::optional<Bitmap> picture = LoadBitmapFile(kSuite + file);
    EXPECT_TRUE(outcome == Either || picture.has_value() == (outcome == Loads)) << file;
    if (picture) {
      EXPECT_EQ(picture->width(), 127) << file;
      EXPECT_EQ(picture->height(), 64) << file;
      EXPECT_TRUE(AllOpaqueRgb(*picture)) << file;
    }
  }
}

}  // namespace
