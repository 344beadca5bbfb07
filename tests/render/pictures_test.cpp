// Picture files of the BMP Suite: the good pictures against their references, the
// questionable ones as the reader wants them, the bad ones rejected or harmless.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/gdi/picture_file.h"

namespace {

const std::string kSuite = std::string(YOMU_TESTDATA_DIR) + "/bmpsuite/";

// A reference rendering with its alpha: a transparent pixel is one that the
// picture leaves undefined, so it matches anything.
struct Reference {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;
};

// 16-bit references come as they are stored (libpng calls them linear); only their
// opaque pixels are kept, since libpng premultiplies the others.
std::uint32_t FromLinear(const std::uint16_t* rgba) {
  if (rgba[3] != 0xFFFF) return 0;
  std::uint32_t argb = 0xFF000000;
  for (int c = 0; c < 3; ++c) {
    argb |= static_cast<std::uint32_t>((rgba[c] * 255 + 32767) / 65535) << (16 - 8 * c);
  }
  return argb;
}

Reference ReadReference(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) throw std::runtime_error("png: " + path);
  const bool sixteen_bits = (image.format & PNG_FORMAT_FLAG_LINEAR) != 0;
  Reference reference{static_cast<int>(image.width), static_cast<int>(image.height), {}};
  const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
  reference.argb.resize(count);
  bool read = false;
  if (sixteen_bits) {
    image.format = PNG_FORMAT_LINEAR_RGB_ALPHA;
    std::vector<std::uint16_t> rgba(count * 4);
    read = png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) != 0;
    for (std::size_t i = 0; i < count; ++i) reference.argb[i] = FromLinear(&rgba[i * 4]);
  } else {
    image.format = PNG_FORMAT_BGRA;  // 0xAARRGGBB in a little-endian word
    read = png_image_finish_read(&image, nullptr, reference.argb.data(), 0, nullptr) != 0;
  }
  if (!read) throw std::runtime_error("png read: " + path);
  return reference;
}

int ChannelDifference(std::uint32_t a, std::uint32_t b) {
  int largest = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    largest = std::max(largest, d < 0 ? -d : d);
  }
  return largest;
}

struct Comparison {
  int compared = 0;  // pixels that the reference defines
  int differing = 0;  // of those, pixels off by more than the tolerance in a channel
};

Comparison Compare(const Bitmap& picture, const Reference& reference, int tolerance) {
  Comparison result;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const std::uint32_t expected = reference.argb[static_cast<std::size_t>(y) * reference.width + x];
      if ((expected >> 24) == 0) continue;
      ++result.compared;
      result.differing += ChannelDifference(picture.pixel(x, y), expected) > tolerance;
    }
  }
  return result;
}

bool AllOpaqueRgb(const Bitmap& picture) {
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      if ((picture.pixel(x, y) >> 24) != 0) return false;
    }
  }
  return true;
}

// One file of the suite and what the reader makes of it: the references that
// it may match (any one will do), or none when the reader rejects it.
struct SuiteCase {
  const char* file;
  std::vector<const char*> references;
  int tolerance;  // per channel: 1 where 5- and 6-bit channels are widened
  const char* why;
};

// "g/pal8-0.bmp" -> "g_pal8_0_bmp": a test name of the file's.
std::string TestName(const char* file) {
  std::string name;
  for (const char* c = file; *c != '\0'; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
}
std::string CaseName(const testing::TestParamInfo<SuiteCase>& info) { return TestName(info.param.file); }

void ExpectLoadsAsReference(const SuiteCase& c) {
  const std::optional<Bitmap> picture = LoadBitmapFile(kSuite + c.file);
  ASSERT_TRUE(picture.has_value()) << c.file;
  EXPECT_TRUE(AllOpaqueRgb(*picture));
  std::string results;
  for (const char* name : c.references) {
    const Reference reference = ReadReference(kSuite + "ref/" + name);
    ASSERT_EQ(picture->width(), reference.width) << c.file;
    ASSERT_EQ(picture->height(), reference.height) << c.file;
    const Comparison comparison = Compare(*picture, reference, c.tolerance);
    // Most of every reference is defined; a reference that defines little proves little.
    EXPECT_GT(comparison.compared, picture->width() * picture->height() / 2) << name;
    if (comparison.differing == 0) return;
    results += std::string(name) + ": " + std::to_string(comparison.differing) + " pixels differ; ";
  }
  ADD_FAILURE() << c.file << " " << results;
}

class BmpSuiteGood : public testing::TestWithParam<SuiteCase> {};

TEST_P(BmpSuiteGood, LoadsAsItsReference) { ExpectLoadsAsReference(GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    All, BmpSuiteGood,
    testing::Values(
        SuiteCase{"g/pal1.bmp", {"pal1.png"}, 0, ""},
        SuiteCase{"g/pal1wb.bmp", {"pal1.png"}, 0, ""},
        SuiteCase{"g/pal1bg.bmp", {"pal1bg.png"}, 0, ""},
        SuiteCase{"g/pal4.bmp", {"pal4.png"}, 0, ""},
        SuiteCase{"g/pal4gs.bmp", {"pal4gs.png"}, 0, ""},
        SuiteCase{"g/pal4rle.bmp", {"pal4.png"}, 0, ""},
        SuiteCase{"g/pal8.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"g/pal8-0.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"g/pal8gs.bmp", {"pal8gs.png"}, 0, ""},
        SuiteCase{"g/pal8rle.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"g/pal8w126.bmp", {"pal8w126.png"}, 0, ""},
        SuiteCase{"g/pal8w125.bmp", {"pal8w125.png"}, 0, ""},
        SuiteCase{"g/pal8w124.bmp", {"pal8w124.png"}, 0, ""},
        SuiteCase{"g/pal8topdown.bmp", {"pal8.png"}, 0, ""},
        // Pixels as stored, not stretched to their aspect: the page is drawn in pixels.
        SuiteCase{"g/pal8nonsquare.bmp", {"pal8nonsquare-e.png"}, 0, ""},
        SuiteCase{"g/pal8os2.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"g/pal8v4.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"g/pal8v5.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"g/rgb16.bmp", {"rgb16.png"}, 1, ""},
        SuiteCase{"g/rgb16bfdef.bmp", {"rgb16.png"}, 1, ""},
        SuiteCase{"g/rgb16-565.bmp", {"rgb16-565.png"}, 1, ""},
        SuiteCase{"g/rgb16-565pal.bmp", {"rgb16-565.png"}, 1, ""},
        SuiteCase{"g/rgb24.bmp", {"rgb24.png"}, 0, ""},
        SuiteCase{"g/rgb24pal.bmp", {"rgb24.png"}, 0, ""},
        SuiteCase{"g/rgb32.bmp", {"rgb24.png"}, 0, ""},
        SuiteCase{"g/rgb32bfdef.bmp", {"rgb24.png"}, 0, ""},
        SuiteCase{"g/rgb32bf.bmp", {"rgb24.png"}, 0, "masks in an order of their own"}),
    CaseName);

class BmpSuiteQuestionable : public testing::TestWithParam<SuiteCase> {};

TEST_P(BmpSuiteQuestionable, LoadsAsWantedOrIsRejected) {
  const SuiteCase& c = GetParam();
  if (!c.references.empty()) {
    ExpectLoadsAsReference(c);
  } else {
    EXPECT_FALSE(LoadBitmapFile(kSuite + c.file).has_value()) << c.file << ": " << c.why;
  }
}

INSTANTIATE_TEST_SUITE_P(
    All, BmpSuiteQuestionable,
    testing::Values(
        SuiteCase{"q/pal1p1.bmp", {"pal1p1.png"}, 0, ""},
        SuiteCase{"q/pal2.bmp", {"pal2.png"}, 0, ""},
        SuiteCase{"q/pal2color.bmp", {"pal2color.png"}, 0, ""},
        // Pixels that the run-length codes skip take palette colour 0.
        SuiteCase{"q/pal4rletrns.bmp", {"pal4rletrns-0.png", "pal4rletrns-b.png"}, 0, ""},
        SuiteCase{"q/pal4rlecut.bmp", {"pal4rlecut-0.png", "pal4rlecut-b.png"}, 0, ""},
        SuiteCase{"q/pal8rletrns.bmp", {"pal8rletrns-0.png", "pal8rletrns-b.png"}, 0, ""},
        SuiteCase{"q/pal8rlecut.bmp", {"pal8rlecut-0.png", "pal8rlecut-b.png"}, 0, ""},
        SuiteCase{"q/pal8offs.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"q/pal8oversizepal.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"q/pal8os2-sz.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"q/pal8os2-hs.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"q/pal8os2sp.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"q/pal8os2v2.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"q/pal8os2v2-sz.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"q/pal8os2v2-40sz.bmp", {"pal8.png"}, 0, ""},
        SuiteCase{"q/pal8os2v2-16.bmp", {}, 0, "a 16-byte info header is no header Windows reads"},
        SuiteCase{"q/rgb24rle24.bmp", {}, 0, "OS/2's 24-bit run-length coding"},
        SuiteCase{"q/pal1huffmsb.bmp", {}, 0, "OS/2's Huffman coding"},
        // The unused top bit is not transparency.
        SuiteCase{"q/rgb16faketrns.bmp", {"rgb16.png"}, 1, ""},
        SuiteCase{"q/rgb16-231.bmp", {"rgb16-231.png"}, 1, ""},
        SuiteCase{"q/rgb16-3103.bmp", {"rgb16-3103.png"}, 1, ""},
        SuiteCase{"q/rgba16-4444.bmp", {"rgba16-4444.png"}, 1, ""},
        SuiteCase{"q/rgba16-5551.bmp", {"rgba16-5551.png"}, 1, ""},
        SuiteCase{"q/rgba16-1924.bmp", {"rgba16-1924.png"}, 1, ""},
        SuiteCase{"q/rgb24largepal.bmp", {"rgb24.png"}, 0, ""},
        SuiteCase{"q/rgb24prof.bmp", {"rgb24.png"}, 0, ""},
        SuiteCase{"q/rgb24lprof.bmp", {"rgb24.png"}, 0, ""},
        SuiteCase{"q/rgb24jpeg.bmp", {}, 0, "JPEG inside a bitmap is for printers"},
        SuiteCase{"q/rgb24png.bmp", {}, 0, "PNG inside a bitmap is for printers"},
        SuiteCase{"q/rgb32h52.bmp", {"rgb24.png"}, 0, ""},
        SuiteCase{"q/rgb32-xbgr.bmp", {"rgb24.png"}, 0, ""},
        // The fourth byte is not alpha: the picture stays opaque.
        SuiteCase{"q/rgb32fakealpha.bmp", {"rgb24.png"}, 0, ""},
        SuiteCase{"q/rgb32-111110.bmp", {"rgb24.png"}, 1, ""},
        SuiteCase{"q/rgb32-7187.bmp", {"rgb32-7187.png"}, 1, ""},
        SuiteCase{"q/rgba32-1.bmp", {"rgba32.png"}, 0, ""},
        SuiteCase{"q/rgba32-2.bmp", {"rgba32.png"}, 0, ""},
        SuiteCase{"q/rgba32-1010102.bmp", {"rgba32-1010102.png"}, 1, ""},
        SuiteCase{"q/rgba32-81284.bmp", {"rgba32-81284.png"}, 1, ""},
        SuiteCase{"q/rgba32-61754.bmp", {"rgba32-61754.png"}, 1, ""},
        SuiteCase{"q/rgba32abf.bmp", {"rgba32.png"}, 0, ""},
        SuiteCase{"q/rgba32h56.bmp", {"rgba32.png"}, 0, ""},
        SuiteCase{"q/rgba64.bmp", {}, 0, "64 bits per pixel"},
        SuiteCase{"x/ba-bm.bmp", {}, 0, "an OS/2 bitmap array, not a bitmap"}),
    CaseName);

// Without colour management the swapped channels stay swapped, but the picture loads.
TEST(BmpSuiteQuestionable, EmbeddedProfileIsIgnored) {
  const std::optional<Bitmap> picture = LoadBitmapFile(kSuite + "q/rgb24prof2.bmp");
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->width(), 127);
  EXPECT_EQ(picture->height(), 64);
}

class BmpSuiteBad : public testing::TestWithParam<const char*> {};

// Rejected, or a picture of the claimed size; never a crash or a read outside the
// file (the sanitizer build checks that).
TEST_P(BmpSuiteBad, IsRejectedOrHarmless) {
  const std::optional<Bitmap> picture = LoadBitmapFile(kSuite + GetParam());
  if (picture) {
    EXPECT_EQ(picture->width(), 127);
    EXPECT_EQ(picture->height(), 64);
    EXPECT_TRUE(AllOpaqueRgb(*picture));
  }
}

INSTANTIATE_TEST_SUITE_P(All, BmpSuiteBad,
                         testing::Values("b/badbitcount.bmp", "b/badbitssize.bmp", "b/baddens1.bmp",
                                         "b/baddens2.bmp", "b/badfilesize.bmp", "b/badheadersize.bmp",
                                         "b/badpalettesize.bmp", "b/badplanes.bmp", "b/badrle4.bmp",
                                         "b/badrle4bis.bmp", "b/badrle4ter.bmp", "b/badrle.bmp",
                                         "b/badrlebis.bmp", "b/badrleter.bmp", "b/badwidth.bmp",
                                         "b/pal8badindex.bmp", "b/reallybig.bmp", "b/rgb16-880.bmp",
                                         "b/rletopdown.bmp", "b/shortfile.bmp"),
                         [](const testing::TestParamInfo<const char*>& info) { return TestName(info.param); });

TEST(BmpSuiteBad, ClaimsThatCannotBeMetAreRejected) {
  for (const char* file : {"b/badbitcount.bmp", "b/badwidth.bmp", "b/reallybig.bmp",
                           "b/rletopdown.bmp", "b/shortfile.bmp", "b/badheadersize.bmp"}) {
    EXPECT_FALSE(LoadBitmapFile(kSuite + file).has_value()) << file;
  }
}

}  // namespace
