// Picture files made by the tests: what a header claims must fit in the file and
// under the caps before anything is allocated; bit fields of our own decoder; the
// fourth byte is never alpha; damaged files are rejected or harmless.
#include "platform/gdi/picture_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/bmp_header.h"
#include "platform/headless/headless_backend.h"
#include "platform/platform.h"
#include "support/bmp_writer.h"
#include "support/novel.h"

namespace {

const std::string kSuite = std::string(YOMU_TESTDATA_DIR) + "/bmpsuite/";

std::span<const std::uint8_t> Bytes(const std::string& bytes) {
  return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file with a 40-byte info header that claims whatever a test needs.
struct Claim {
  std::int32_t width = 1;
  std::int32_t height = 1;
  std::uint16_t bits = 24;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> masks;  // stored behind the info header
  std::string pixels;
};

std::string ClaimedBmp(const Claim& claim) {
  const std::uint32_t offset = 14 + 40 + static_cast<std::uint32_t>(claim.masks.size()) * 4;
  std::string out = "BM";
  Put32(out, offset + static_cast<std::uint32_t>(claim.pixels.size()));
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(claim.width));
  Put32(out, static_cast<std::uint32_t>(claim.height));
  Put16(out, 1);
  Put16(out, claim.bits);
  Put32(out, claim.compression);
  for (int i = 0; i < 5; ++i) Put32(out, 0);
  for (std::uint32_t mask : claim.masks) Put32(out, mask);
  return out + claim.pixels;
}

Bitmap Pattern(int width, int height) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      picture.set_pixel(x, y, (x * 37u & 0xFF) << 16 | (y * 53u & 0xFF) << 8 | ((x + y) * 11u & 0xFF));
    }
  }
  return picture;
}

void ExpectSamePixels(const Bitmap& actual, const Bitmap& expected) {
  ASSERT_EQ(actual.width(), expected.width());
  ASSERT_EQ(actual.height(), expected.height());
  for (int y = 0; y < expected.height(); ++y) {
    for (int x = 0; x < expected.width(); ++x) {
      ASSERT_EQ(actual.pixel(x, y), expected.pixel(x, y)) << x << "," << y;
    }
  }
}

TEST(PictureFile, WrittenPictureReadsBack) {
  for (int width : {1, 2, 3, 4, 5, 640}) {
    const Bitmap expected = Pattern(width, 7);
    const std::optional<Bitmap> picture = DecodeBitmapFile(Bytes(Bmp24(expected)));
    ASSERT_TRUE(picture.has_value()) << width;
    ExpectSamePixels(*picture, expected);
  }
}

TEST(PictureFile, HugeClaimsInSmallFilesAreRejected) {
  // 30000 x 30000 would be 3.6 GB of pixels: refused before anything is allocated.
  EXPECT_FALSE(ReadBmpHeader(Bytes(ClaimedBmp({30000, 30000, 8, 0, {}, std::string(4096, '\0')}))));
  EXPECT_FALSE(DecodeBitmapFile(Bytes(ClaimedBmp({30000, 30000, 8, 0, {}, std::string(4096, '\0')}))));
  // Inside the caps but more rows than the file holds.
  EXPECT_FALSE(ReadBmpHeader(Bytes(ClaimedBmp({4096, 4096, 24, 0, {}, std::string(4096, '\0')}))));
  EXPECT_FALSE(ReadBmpHeader(Bytes(ClaimedBmp({4, 2, 24, 0, {}, std::string(23, '\0')}))));
  EXPECT_TRUE(ReadBmpHeader(Bytes(ClaimedBmp({4, 2, 24, 0, {}, std::string(24, '\0')}))));
  // Run-length data may not stand for more than 256 pixels a byte.
  EXPECT_FALSE(ReadBmpHeader(Bytes(ClaimedBmp({4096, 4096, 8, 1, {}, std::string(1024, '\0')}))));
  EXPECT_TRUE(ReadBmpHeader(Bytes(ClaimedBmp({256, 4, 8, 1, {}, std::string(4, '\0')}))));
  EXPECT_FALSE(ReadBmpHeader(Bytes(ClaimedBmp({257, 4, 8, 1, {}, std::string(4, '\0')}))));
}

TEST(PictureFile, SidesAndPixelCountAreCapped) {
  const std::string one_bit_rows(2048 * 16384 / 8, '\0');
  EXPECT_TRUE(ReadBmpHeader(Bytes(ClaimedBmp({1024, 16384, 1, 0, {}, one_bit_rows}))));
  EXPECT_FALSE(ReadBmpHeader(Bytes(ClaimedBmp({1024, 16385, 1, 0, {}, one_bit_rows}))));
  EXPECT_FALSE(ReadBmpHeader(Bytes(ClaimedBmp({16385, 1, 1, 0, {}, one_bit_rows}))));
  EXPECT_TRUE(ReadBmpHeader(Bytes(ClaimedBmp({4096, 4096, 1, 0, {}, one_bit_rows}))));
  EXPECT_FALSE(ReadBmpHeader(Bytes(ClaimedBmp({4097, 4096, 1, 0, {}, one_bit_rows}))));
  EXPECT_FALSE(ReadBmpHeader(Bytes(ClaimedBmp({0, 1, 1, 0, {}, one_bit_rows}))));
  EXPECT_FALSE(ReadBmpHeader(Bytes(ClaimedBmp({1, 0, 1, 0, {}, one_bit_rows}))));
  EXPECT_FALSE(ReadBmpHeader(Bytes(ClaimedBmp({-1, 1, 1, 0, {}, one_bit_rows}))));
  EXPECT_FALSE(ReadBmpHeader(Bytes(ClaimedBmp({1, INT32_MIN, 1, 0, {}, one_bit_rows}))));
}

TEST(PictureFile, FourthByteIsNeverAlpha) {
  const std::string pixels = "\x10\x20\x30\x80" "\x40\x50\x60\xFF";
  const std::optional<Bitmap> picture = DecodeBitmapFile(Bytes(ClaimedBmp({2, 1, 32, 0, {}, pixels})));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->pixel(0, 0), 0x302010u);
  EXPECT_EQ(picture->pixel(1, 0), 0x605040u);
}

TEST(PictureFile, BitFieldsScaleEachChannelToEightBits) {
  // 5-5-5 in 16 bits: 31 is 255, 16 is 132 (rounded), the top bit is ignored.
  const std::string pixels = std::string("\xFF\x7F" "\x10\x42" "\x00\x80", 6) + std::string(2, '\0');
  const std::optional<Bitmap> picture =
      DecodeBitmapFile(Bytes(ClaimedBmp({3, 1, 16, 3, {0x7C00, 0x03E0, 0x001F}, pixels})));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(picture->pixel(1, 0), 0x848484u);
  EXPECT_EQ(picture->pixel(2, 0), 0x000000u);
}

TEST(PictureFile, BitFieldsOfAnyPositionAndWidth) {
  // Red in the top byte, green 12 bits wide, no blue at all; two rows stored top-down.
  const std::vector<std::uint32_t> masks = {0xFF000000, 0x00FFF000, 0};
  const std::string pixels = std::string("\x00\xF0\xFF\x80", 4) + std::string("\x00\x00\x00\x01", 4);
  const std::optional<Bitmap> picture = DecodeBitmapFile(Bytes(ClaimedBmp({1, -2, 32, 3, masks, pixels})));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->pixel(0, 0), 0x80FF00u);
  EXPECT_EQ(picture->pixel(0, 1), 0x010000u);
}

TEST(PictureFile, AlphaBitFieldsIgnoreTheAlphaMask) {
  const std::vector<std::uint32_t> masks = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
  const std::optional<Bitmap> picture =
      DecodeBitmapFile(Bytes(ClaimedBmp({1, 1, 32, 6, masks, std::string("\x01\x02\x03\x00", 4)})));
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->pixel(0, 0), 0x030201u);
}

TEST(PictureFile, MasksWithGapsOrWrongDepthsAreRejected) {
  const std::string four_bytes(4, '\0');
  EXPECT_FALSE(DecodeBitmapFile(Bytes(ClaimedBmp({1, 1, 16, 3, {0x5000, 0x03E0, 0x001F}, four_bytes}))));
  EXPECT_FALSE(DecodeBitmapFile(Bytes(ClaimedBmp({1, 1, 24, 3, {0xFF0000, 0xFF00, 0xFF}, four_bytes}))));
  EXPECT_FALSE(DecodeBitmapFile(Bytes(ClaimedBmp({1, 1, 16, 3, {}, four_bytes}))));  // masks missing
  EXPECT_FALSE(DecodeBitmapFile(Bytes(ClaimedBmp({1, 1, 8, 2, {}, four_bytes}))));   // RLE4 at 8 bits
  EXPECT_FALSE(DecodeBitmapFile(Bytes(ClaimedBmp({1, -1, 8, 1, {}, four_bytes}))));  // RLE top-down
}

// Every cut of a file is rejected or gives a picture of the claimed size.
TEST(PictureFile, CutFilesAreRejectedOrHarmless) {
  for (const char* file :
       {"g/pal8rle.bmp", "g/pal4rle.bmp", "g/rgb32bf.bmp", "g/pal1.bmp", "g/pal8os2.bmp"}) {
    const std::string bytes = ReadFile(kSuite + file);
    ASSERT_FALSE(bytes.empty()) << file;
    for (std::size_t size = 0; size < bytes.size(); size += 7) {
      const std::optional<Bitmap> picture = DecodeBitmapFile(Bytes(bytes.substr(0, size)));
      if (picture) {
        EXPECT_EQ(picture->width(), 127) << file << " cut at " << size;
      }
    }
  }
}

// Any one header byte changed: no crash, no read outside, nothing beyond the caps.
TEST(PictureFile, DamagedHeadersAreRejectedOrHarmless) {
  for (const char* file : {"g/pal8rle.bmp", "g/rgb16-565pal.bmp", "g/rgb32bf.bmp", "g/pal8v5.bmp"}) {
    const std::string original = ReadFile(kSuite + file);
    ASSERT_GT(original.size(), 160u) << file;
    for (std::size_t at = 0; at < 160; ++at) {
      for (unsigned char value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
        std::string bytes = original;
        bytes[at] = static_cast<char>(value);
        const std::optional<Bitmap> picture = DecodeBitmapFile(Bytes(bytes));
        if (picture) {
          EXPECT_LE(std::int64_t{picture->width()} * picture->height(), BMP_MAX_PIXELS);
        }
      }
    }
  }
}

TEST(PictureFile, MissingFilesAndFoldersGiveNothing) {
  Novel novel;
  EXPECT_FALSE(LoadBitmapFile(novel.File("missing.bmp")));
  EXPECT_FALSE(LoadBitmapFile(novel.path()));
  novel.WriteBytes("empty.bmp", "");
  EXPECT_FALSE(LoadBitmapFile(novel.File("empty.bmp")));
  novel.WriteBytes("text.bmp", "BM not really a picture");
  EXPECT_FALSE(LoadBitmapFile(novel.File("text.bmp")));
}

TEST(PictureFile, LoadImageLoadsOnlyBitmapsFromFilesAtTheirOwnSize) {
  Novel novel;
  novel.WriteBytes("pic/a.bmp", Bmp24(Pattern(3, 2)));
  std::ostream log{nullptr};
  HeadlessBackend backend{{}, log};
  Platform platform{backend, novel.path()};
  const char* name_sjis = "pic\\a.bmp";
  const std::unique_ptr<Bitmap> picture =
      LoadImageA(platform, name_sjis, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
  ASSERT_NE(picture, nullptr);
  ExpectSamePixels(*picture, Pattern(3, 2));
  EXPECT_EQ(LoadImageA(platform, name_sjis, 1, 0, 0, LR_LOADFROMFILE), nullptr);  // an icon
  EXPECT_EQ(LoadImageA(platform, name_sjis, IMAGE_BITMAP, 0, 0, 0), nullptr);      // a resource
  EXPECT_EQ(LoadImageA(platform, name_sjis, IMAGE_BITMAP, 6, 4, LR_LOADFROMFILE), nullptr);
  EXPECT_EQ(LoadImageA(platform, "pic\\b.bmp", IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE), nullptr);
}

}  // namespace
