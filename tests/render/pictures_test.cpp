// The BMP Suite: good and questionable pictures against their references, the rest
// rejected or harmless.
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
    if (!png_image_finish_read(&image, nullptr, argb.data(), 0, nullptr)) return {};
    return argb;
  }
  // 16-bit references read as stored; only opaque pixels kept, as libpng premultiplies
  // the others.
  image.format = PNG_FORMAT_LINEAR_RGB_ALPHA;
  std::vector<std::uint16_t> rgba(argb.size() * 4);
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return {};
  for (std::size_t i = 0; i < argb.size(); ++i) {
    const auto eight = [p = &rgba[i * 4]](int c) { return (p[c] * 255u + 32767) / 65535; };
    const bool opaque = rgba[i * 4 + 3] == 0xFFFF;
    argb[i] = opaque ? 0xFF000000u | eight(0) << 16 | eight(1) << 8 | eight(2) : 0;
  }
  return argb;
}

// Every loaded picture is opaque RGB: the top byte is never alpha.
bool AllOpaqueRgb(const Bitmap& p) {
  return std::all_of(p.row(0), p.row(0) + static_cast<std::size_t>(p.width()) * p.height(),
                     [](std::uint32_t v) { return v >> 24 == 0; });
}

// The pixels that differ from a reference by more than tolerance in a channel; -1
// when the sizes differ or the reference defines too little to prove anything.
int Differing(const Bitmap& picture, const std::string& reference_png, int tolerance) {
  int width = 0, height = 0, compared = 0, differing = 0;
  const std::vector<std::uint32_t> reference = ReadReference(reference_png, width, height);
  if (reference.empty() || picture.width() != width || picture.height() != height) return -1;
  for (std::size_t i = 0; i < reference.size(); ++i) {
    const std::uint32_t expected = reference[i];
    const std::uint32_t actual = picture.pixel(int(i % width), int(i / width));
    if ((expected >> 24) == 0) continue;  // undefined in the reference
    ++compared;
    const auto off = [&](int shift) {
      return std::abs(int(expected >> shift & 0xFF) - int(actual >> shift & 0xFF)) > tolerance;
    };
    differing += off(0) || off(8) || off(16) ? 1 : 0;
  }
  return compared > width * height / 2 ? differing : -1;
}

// FILE=REFERENCE, or FILE=REF1|REF2 when either is right; a "~" allows one step in each
// channel, for fields wider or narrower than eight bits.
const char* const GOOD_AND_QUESTIONABLE =
    "g/pal1=pal1 g/pal1wb=pal1 g/pal1bg=pal1bg g/pal4=pal4 g/pal4gs=pal4gs g/pal4rle=pal4 "
    "g/pal8=pal8 g/pal8-0=pal8 g/pal8gs=pal8gs g/pal8rle=pal8 g/pal8w126=pal8w126 "
    "g/pal8w125=pal8w125 g/pal8w124=pal8w124 g/pal8topdown=pal8 g/pal8os2=pal8 "
    "g/pal8nonsquare=pal8nonsquare-e g/pal8v4=pal8 g/pal8v5=pal8 g/rgb16=rgb16~ "
    "g/rgb16bfdef=rgb16~ g/rgb16-565=rgb16-565~ g/rgb16-565pal=rgb16-565~ g/rgb24=rgb24 "
    "g/rgb24pal=rgb24 g/rgb32=rgb24 g/rgb32bfdef=rgb24 g/rgb32bf=rgb24 q/pal1p1=pal1p1 q/pal2=pal2 "
    "q/pal2color=pal2color q/pal4rletrns=pal4rletrns-0|pal4rletrns-b "
    "q/pal4rlecut=pal4rlecut-0|pal4rlecut-b q/pal8rletrns=pal8rletrns-0|pal8rletrns-b "
    "q/pal8rlecut=pal8rlecut-0|pal8rlecut-b q/pal8offs=pal8 q/pal8oversizepal=pal8 "
    "q/pal8os2-sz=pal8 q/pal8os2-hs=pal8 q/pal8os2sp=pal8 q/pal8os2v2=pal8 q/pal8os2v2-sz=pal8 "
    "q/pal8os2v2-40sz=pal8 q/rgb16faketrns=rgb16~ q/rgb32fakealpha=rgb24 q/rgb16-231=rgb16-231~ "
    "q/rgb16-3103=rgb16-3103~ q/rgba16-4444=rgba16-4444~ q/rgba16-5551=rgba16-5551~ "
    "q/rgba16-1924=rgba16-1924~ q/rgb24largepal=rgb24 q/rgb24prof=rgb24 q/rgb24lprof=rgb24 "
    "q/rgb32h52=rgb24 q/rgb32-xbgr=rgb24 q/rgb32-111110=rgb24~ q/rgb32-7187=rgb32-7187~ "
    "q/rgba32-1=rgba32 q/rgba32-2=rgba32 q/rgba32-1010102=rgba32-1010102~ "
    "q/rgba32-81284=rgba32-81284~ q/rgba32-61754=rgba32-61754~ q/rgba32abf=rgba32 "
    "q/rgba32h56=rgba32";

// Stored sizes are kept (pal8nonsquare is never stretched), run-length skips take
// colour 0, and the top bits of 32-bit pixels are no alpha.
TEST(BmpSuite, GoodAndQuestionablePicturesMatchTheirReferences) {
  std::istringstream cases(GOOD_AND_QUESTIONABLE);
  for (std::string entry; cases >> entry;) {
    const std::size_t equals = entry.find('='), tilde = entry.find('~');
    const std::optional<Bitmap> picture = LoadBitmapFile(Suite(entry.substr(0, equals) + ".bmp"));
    ASSERT_TRUE(picture && AllOpaqueRgb(*picture)) << entry;
    std::istringstream references(entry.substr(equals + 1, tilde - equals - 1));
    const int tolerance = tilde != std::string::npos;
    std::vector<int> differing;  // per reference; -1: unusable
    for (std::string name; std::getline(references, name, '|');) {
      differing.push_back(Differing(*picture, Suite("ref/" + name + ".png"), tolerance));
    }
    EXPECT_TRUE(std::count(differing.begin(), differing.end(), 0) > 0)
        << entry << ": " << ::testing::PrintToString(differing);
  }
}

// The rest: rejected, loaded at 127x64, or either; never a crash or a read outside the file.
TEST(BmpSuite, OtherFilesAreRejectedOrHarmless) {
  const char* const rejected[] = {
      "q/pal8os2v2-16", "q/rgb24rle24",  "q/pal1huffmsb", "q/rgb24jpeg",       "q/rgb24png",
      "q/rgba64",       "x/ba-bm",       "b/badbitcount", "b/badwidth",        "b/reallybig",
      "b/shortfile",    "b/rletopdown",  "b/badheadersize"};
  const char* const either[] = {
      "b/badbitssize",    "b/baddens1",   "b/baddens2",    "b/badfilesize", "b/badpalettesize",
      "b/badplanes",      "b/badrle4",    "b/badrle",      "b/badrle4bis",  "b/badrle4ter",
      "b/badrlebis",      "b/badrleter",  "b/pal8badindex", "b/rgb16-880",
      "q/rgb24prof2"};  // loads, with its channels swapped
  for (const char* file : rejected) EXPECT_FALSE(LoadBitmapFile(Suite(file + std::string(".bmp"))));
  for (const char* file : either) {
    const std::optional<Bitmap> picture = LoadBitmapFile(Suite(file + std::string(".bmp")));
    EXPECT_TRUE(!picture || (picture->width() == 127 && picture->height() == 64)) << file;
    EXPECT_TRUE(!picture || AllOpaqueRgb(*picture)) << file;
  }
  EXPECT_TRUE(LoadBitmapFile(Suite("q/rgb24prof2.bmp")));
}

}  // namespace
