// Header claims must fit the file and the caps before anything is allocated; damage
// is harmless.
#include "platform/gdi/picture_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/gdi/bmp_header.h"
#include "platform/platform.h"
#include "support/bmp_writer.h"
#include "support/novel.h"

namespace {

std::span<const std::uint8_t> Bytes(const std::string& b) {
  return {reinterpret_cast<const std::uint8_t*>(b.data()), b.size()};
}

// A file with a 40-byte info header claiming whatever a test needs, masks behind it;
// zero pixels by default.
struct Claim {
  std::int32_t width, height;
  std::uint16_t bits;
  std::uint32_t compression;
  std::size_t pixel_bytes;
  std::vector<std::uint32_t> masks = {};
};
std::string ClaimedBmp(const Claim& c, std::string pixels = "") {
  if (pixels.empty()) pixels.resize(c.pixel_bytes);
  const auto offset = static_cast<std::uint32_t>(14 + 40 + c.masks.size() * 4);
  std::string out = "BM";
  const auto size = static_cast<std::uint32_t>(offset + pixels.size());
  const auto width = std::uint32_t(c.width), height = std::uint32_t(c.height);
  const std::uint32_t planes_and_bits = 1u | std::uint32_t{c.bits} << 16;
  for (std::uint32_t field : {size, 0u, offset, 40u, width, height, planes_and_bits, c.compression,
                              0u, 0u, 0u, 0u, 0u}) {
    Put32(out, field);
  }
  for (std::uint32_t mask : c.masks) Put32(out, mask);
  return out + pixels;
}

Bitmap Pattern(int width, int height) {  // scattered colours
  Bitmap picture(width, height);
  for (int i = 0; i < width * height; ++i) picture.row(0)[i] = i * 2654435761u & 0xFFFFFF;
  return picture;
}

bool SamePixels(const Bitmap& a, const Bitmap& b) {
  return a.width() == b.width() && a.height() == b.height() &&
         std::equal(a.row(0), a.row(a.height()), b.row(0));
}

TEST(PictureFile, ClaimsBeyondTheFileOrTheCapsAndUnusableBitFieldsAreRejected) {
  // Enough for the largest 1-bit claims; run-length stands for at most 256 pixels a byte.
  const std::size_t n = 2048 * 16384 / 8;
  const std::pair<Claim, bool> cases[] = {
      {{30000, 30000, 8, 0, 4096}, false},  // 3.6 GB
      {{4096, 4096, 24, 0, 4096}, false}, {{4, 2, 24, 0, 23}, false},  {{4, 2, 24, 0, 24}, true},
      {{4096, 4096, 8, 1, 1024}, false},  {{256, 4, 8, 1, 4}, true},   {{257, 4, 8, 1, 4}, false},
      {{1024, 16384, 1, 0, n}, true},     {{1024, 16385, 1, 0, n}, false},
      {{16385, 1, 1, 0, n}, false},       {{4096, 4096, 1, 0, n}, true},
      {{4097, 4096, 1, 0, n}, false},     {{0, 1, 1, 0, n}, false},    {{1, 0, 1, 0, n}, false},
      {{-1, 1, 1, 0, n}, false},          {{1, INT32_MIN, 1, 0, n}, false}};
  for (const auto& [claim, ok] : cases) {
    EXPECT_EQ(ReadBmpHeader(Bytes(ClaimedBmp(claim))).has_value(), ok)
        << claim.width << "x" << claim.height;
  }
  EXPECT_FALSE(DecodeBitmapFile(Bytes(ClaimedBmp(cases[0].first))));
  // Bit fields of any position and width but no gaps: red in the top byte, green 12
  // bits wide, no blue; top-down.
  const std::optional<Bitmap> picture =
      DecodeBitmapFile(Bytes(ClaimedBmp({1, -2, 32, 3, 0, {0xFF000000, 0x00FFF000, 0}},
                                        std::string("\x00\xF0\xFF\x80\x00\x00\x00\x01", 8))));
  EXPECT_TRUE(picture && picture->pixel(0, 0) == 0x80FF00u && picture->pixel(0, 1) == 0x010000u);
  const Claim unusable[] = {{1, 1, 16, 3, 4, {0x5000, 0x03E0, 0x001F}},
                            {1, 1, 24, 3, 4, {0xFF0000, 0xFF00, 0xFF}},
                            {1, 1, 16, 3, 4},
                            {1, 1, 8, 2, 4},
                            {1, -1, 8, 1, 4}};
  for (const Claim& c : unusable) {
    EXPECT_FALSE(DecodeBitmapFile(Bytes(ClaimedBmp(c)))) << c.bits << " bits, " << c.compression;
  }
}

TEST(PictureFile, WrittenPicturesReadBackAndLoadImageLoadsOnlyBitmapFilesAtTheirOwnSize) {
  for (int width : {1, 2, 3, 4, 640}) {  // whatever the row padding
    const std::optional<Bitmap> read = DecodeBitmapFile(Bytes(Bmp24(Pattern(width, 7))));
    EXPECT_TRUE(SamePixels(read.value_or(Bitmap(0, 0)), Pattern(width, 7)));
  }
  NovelReader r;
  r.novel_.WriteBytes("pic/a.bmp", Bmp24(Pattern(3, 2)));
  r.novel_.WriteBytes("empty.bmp", "");
  for (const std::string& path :
       {r.novel_.File("missing.bmp"), r.novel_.path(), r.novel_.File("empty.bmp")}) {
    EXPECT_FALSE(LoadBitmapFile(path)) << path;
  }
  const auto load = [&r](const char* name, UINT type, int width, UINT flags) {
    return LoadImageA(r.platform_, name, type, width, width, flags);
  };
  const std::unique_ptr<Bitmap> picture = load("pic\\a.bmp", IMAGE_BITMAP, 0, LR_LOADFROMFILE);
  EXPECT_TRUE(picture && SamePixels(*picture, Pattern(3, 2)));
  EXPECT_FALSE(load("pic\\a.bmp", 1, 0, LR_LOADFROMFILE));                // an icon
  EXPECT_FALSE(load("pic\\a.bmp", IMAGE_BITMAP, 0, 0));                   // a resource
  EXPECT_FALSE(load("pic\\a.bmp", IMAGE_BITMAP, 6, LR_LOADFROMFILE));     // another size
  EXPECT_FALSE(load("pic\\b.bmp", IMAGE_BITMAP, 0, LR_LOADFROMFILE));
}

}  // namespace
