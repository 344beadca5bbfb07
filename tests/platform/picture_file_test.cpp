// Header claims must fit the file and the caps before anything is allocated; damage is harmless.
#include "platform/gdi/picture_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/bmp_header.h"
#include "platform/platform.h"
#include "support/bmp_writer.h"
#include "support/novel.h"

namespace {

const std::string kSuite = std::string(YOMU_TESTDATA_DIR) + "/bmpsuite/";

std::span<const std::uint8_t> Bytes(const std::string& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

// A file with a 40-byte info header claiming whatever a test needs, masks behind it.
struct Claim {
  std::int32_t width, height;
  std::uint16_t bits;
  std::uint32_t compression;
  std::size_t pixel_bytes;
  std::vector<std::uint32_t> masks = {};
};

std::string ClaimedBmp(const Claim& c, const std::string& pixels) {
  const auto offset = static_cast<std::uint32_t>(14 + 40 + c.masks.size() * 4);
  std::vector<std::uint32_t> fields = {offset + static_cast<std::uint32_t>(pixels.size()), 0, offset, 40,
                                       static_cast<std::uint32_t>(c.width), static_cast<std::uint32_t>(c.height),
                                       1u | std::uint32_t{c.bits} << 16, c.compression, 0, 0, 0, 0, 0};
  fields.insert(fields.end(), c.masks.begin(), c.masks.end());
  std::string out = "BM";
  for (std::uint32_t field : fields) Put32(out, field);
  return out + pixels;
}
std::string ClaimedBmp(const Claim& claim) { return ClaimedBmp(claim, std::string(claim.pixel_bytes, '\0')); }

Bitmap Pattern(int width, int height) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.set_pixel(x, y, (x * 37u & 0xFF) << 16 | (y * 53u & 0xFF) << 8 | (x + y));
  }
  return picture;
}

bool SamePixels(const Bitmap& a, const Bitmap& b) {
  return a.width() == b.width() && a.height() == b.height() &&
         std::equal(a.row(0), a.row(0) + static_cast<std::size_t>(a.width()) * a.height(), b.row(0));
}

TEST(PictureFile, WrittenPictureReadsBackWhateverItsRowPadding) {
  for (int width : {1, 2, 3, 4, 640}) {
    const std::optional<Bitmap> picture = DecodeBitmapFile(Bytes(Bmp24(Pattern(width, 7))));
    EXPECT_TRUE(picture && SamePixels(*picture, Pattern(width, 7))) << width;
  }
}

TEST(PictureFile, ClaimsBeyondTheFileOrTheCapsAreRejected) {
  const std::size_t one_bit_rows = 2048 * 16384 / 8;
  const std::pair<Claim, bool> cases[] = {
      {{30000, 30000, 8, 0, 4096}, false},  // 3.6 GB of pixels in a small file
      {{4096, 4096, 24, 0, 4096}, false}, {{4, 2, 24, 0, 23}, false}, {{4, 2, 24, 0, 24}, true},
      // Run-length data may not stand for more than 256 pixels a byte.
      {{4096, 4096, 8, 1, 1024}, false}, {{256, 4, 8, 1, 4}, true}, {{257, 4, 8, 1, 4}, false},
      {{1024, 16384, 1, 0, one_bit_rows}, true}, {{1024, 16385, 1, 0, one_bit_rows}, false},
      {{16385, 1, 1, 0, one_bit_rows}, false}, {{4096, 4096, 1, 0, one_bit_rows}, true},
      {{4097, 4096, 1, 0, one_bit_rows}, false}, {{0, 1, 1, 0, one_bit_rows}, false},
      {{1, 0, 1, 0, one_bit_rows}, false}, {{-1, 1, 1, 0, one_bit_rows}, false},
      {{1, INT32_MIN, 1, 0, one_bit_rows}, false}};
  for (const auto& [claim, accepted] : cases) {
    EXPECT_EQ(ReadBmpHeader(Bytes(ClaimedBmp(claim))).has_value(), accepted) << claim.width << "x" << claim.height;
  }
  EXPECT_FALSE(DecodeBitmapFile(Bytes(ClaimedBmp(cases[0].first))));
}

TEST(PictureFile, BitFieldsOfAnyPositionAndWidthButNoGaps) {
  // Red in the top byte, green 12 bits wide, no blue at all; two rows stored top-down.
  const std::string pixels = std::string("\x00\xF0\xFF\x80", 4) + std::string("\x00\x00\x00\x01", 4);
  const std::optional<Bitmap> picture =
      DecodeBitmapFile(Bytes(ClaimedBmp({1, -2, 32, 3, 0, {0xFF000000, 0x00FFF000, 0}}, pixels)));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->pixel(0, 0), 0x80FF00u);
  EXPECT_EQ(picture->pixel(0, 1), 0x010000u);
  for (const Claim& claim : {Claim{1, 1, 16, 3, 4, {0x5000, 0x03E0, 0x001F}}, Claim{1, 1, 24, 3, 4, {0xFF0000, 0xFF00, 0xFF}},
                             Claim{1, 1, 16, 3, 4}, Claim{1, 1, 8, 2, 4}, Claim{1, -1, 8, 1, 4}}) {
    EXPECT_FALSE(DecodeBitmapFile(Bytes(ClaimedBmp(claim)))) << claim.bits << " bits, compression " << claim.compression;
  }
}

// Every cut of a file, and any one header byte changed: rejected or within the caps.
TEST(PictureFile, CutAndDamagedFilesAreRejectedOrHarmless) {
  for (const char* file : {"g/pal8rle.bmp", "g/pal4rle.bmp", "g/rgb32bf.bmp", "g/pal1.bmp", "g/pal8os2.bmp",
                           "g/rgb16-565pal.bmp", "g/pal8v5.bmp"}) {
    std::ifstream in(kSuite + file, std::ios::binary);
    const std::string original{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_GT(original.size(), 160u) << file;
    for (std::size_t size = 0; size < original.size(); size += 7) {
      const std::optional<Bitmap> picture = DecodeBitmapFile(Bytes(original.substr(0, size)));
      EXPECT_TRUE(!picture || picture->width() == 127) << file << " cut at " << size;
    }
    for (std::size_t at = 0; at < 160; ++at) {
      for (unsigned char value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
        std::string bytes = original;
        bytes[at] = static_cast<char>(value);
        const std::optional<Bitmap> picture = DecodeBitmapFile(Bytes(bytes));
        EXPECT_TRUE(!picture || std::int64_t{picture->width()} * picture->height() <= BMP_MAX_PIXELS) << file;
      }
    }
  }
}

TEST(PictureFile, LoadImageLoadsOnlyBitmapFilesAtTheirOwnSize) {
  Novel novel;
  novel.WriteBytes("pic/a.bmp", Bmp24(Pattern(3, 2)));
  novel.WriteBytes("empty.bmp", "");
  for (const std::string& path : {novel.File("missing.bmp"), novel.path(), novel.File("empty.bmp")}) {
    EXPECT_FALSE(LoadBitmapFile(path)) << path;
  }
  std::ostream log{nullptr};
  HeadlessBackend backend{{}, log};
  Platform platform{backend, novel.path()};
  const std::unique_ptr<Bitmap> picture = LoadImageA(platform, "pic\\a.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  EXPECT_TRUE(picture && SamePixels(*picture, Pattern(3, 2)));
  EXPECT_EQ(LoadImageA(platform, "pic\\a.bmp", 1, 0, 0, LR_LOADFROMFILE), nullptr);  // an icon
  EXPECT_EQ(LoadImageA(platform, "pic\\a.bmp", IMAGE_BITMAP, 0, 0, 0), nullptr);    // a resource
  EXPECT_EQ(LoadImageA(platform, "pic\\a.bmp", IMAGE_BITMAP, 6, 4, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImageA(platform, "pic\\b.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
}

}  // namespace
