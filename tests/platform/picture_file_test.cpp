// Picture files: header claims must fit the file and the caps before anything is
// allocated; the BMP Suite's good and questionable pictures match their references.
#include "platform/gdi/picture_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <span>

#include "platform/gdi/bmp_header.h"
#include "platform/platform.h"
#include "support/bmp_writer.h"
#include "support/novel.h"
#include "support/test_data.h"

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
  NovelReader r;
  r.novel_.WriteBytes("pic/a.bmp", Bmp24(Pattern(3, 2)));
  r.novel_.WriteBytes("empty.bmp", "");
  for (const std::string& path :
       {r.novel_.File("missing.bmp"), r.novel_.path(), r.novel_.File("empty.bmp")}) {
    EXPECT_FALSE(LoadBitmapFile(path)) << path;
  }
  const auto load = [&r](const char* name, UINT type, int width, UINT flags) {
    return LoadImageA(*r.platform_.volume, name, type, width, width, flags);
  };
  const std::unique_ptr<Bitmap> picture = load("pic\\a.bmp", IMAGE_BITMAP, 0, LR_LOADFROMFILE);
  EXPECT_TRUE(picture && SamePixels(*picture, Pattern(3, 2)));
  EXPECT_FALSE(load("pic\\a.bmp", 1, 0, LR_LOADFROMFILE));                // an icon
  EXPECT_FALSE(load("pic\\a.bmp", IMAGE_BITMAP, 0, 0));                   // a resource
  EXPECT_FALSE(load("pic\\a.bmp", IMAGE_BITMAP, 6, LR_LOADFROMFILE));     // another size
  EXPECT_FALSE(load("pic\\b.bmp", IMAGE_BITMAP, 0, LR_LOADFROMFILE));
}

// A file whose bytes end before the size it claims, as an archive member cut short.
class CutShort final : public ByteSource {
 public:
  CutShort(std::string bytes, std::size_t kept) : bytes_(std::move(bytes)), kept_(kept) {}
  std::uint64_t size() const override { return bytes_.size(); }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    if (offset >= kept_) return 0;
    const std::size_t n = std::min<std::size_t>(out.size(), kept_ - offset);
    std::copy_n(bytes_.data() + offset, n, out.data());
    return n;
  }

 private:
  std::string bytes_;
  std::size_t kept_;
};

// A page-sized picture may be decoded into the caller's pixels (the background half),
// so nothing may be asked for or written there until the last needed byte is read.
TEST(PictureFile, APictureCutShortAsksForNoPixels) {
  const std::string pictures[] = {
      Bmp24(Pattern(640, 480)),
      ClaimedBmp({640, 480, 16, 3, 640 * 480 * 2, {0xF800, 0x07E0, 0x001F}}),
      ClaimedBmp({640, -480, 8, 0, 640 * 480})};
  for (const std::string& file : pictures) {
    Bitmap background(640, 480);
    int asked = 0;
    const PixelsFor into_background = [&](int width, int height) {
      ++asked;
      return Bitmap::Over(background.row(0), width, height);
    };
    for (const std::size_t kept : {file.size() - 1, file.size() / 2, std::size_t{200}}) {
      CutShort source(file, kept);
      EXPECT_FALSE(DecodeBitmapFile(source, into_background)) << kept;
    }
    EXPECT_EQ(asked, 0);
    CutShort whole(file, file.size());
    const std::optional<Bitmap> picture = DecodeBitmapFile(whole, into_background);
    EXPECT_TRUE(asked == 1 && picture && picture->row(0) == background.row(0));
  }
}

std::string Suite(const std::string& file) { return TestDataPath("bmpsuite/" + file); }

// Every loaded picture is opaque RGB: the top byte is never alpha.
bool AllOpaqueRgb(const Bitmap& p) {
  return std::all_of(p.row(0), p.row(0) + static_cast<std::size_t>(p.width()) * p.height(),
                     [](std::uint32_t v) { return v >> 24 == 0; });
}

// The pixels that differ from a reference by more than tolerance in a channel; -1
// when the sizes differ or the reference defines too little to prove anything.
int Differing(const Bitmap& picture, const std::string& reference_png, int tolerance) {
  int width = 0, height = 0, compared = 0, differing = 0;
  const std::vector<std::uint32_t> reference = ReadPngArgb(reference_png, width, height);
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

// The rest are rejected; what fuzzing finds harmless is not listed.
TEST(BmpSuite, UnsupportedAndBrokenFilesAreRejected) {
  const char* const rejected[] = {
      "q/pal8os2v2-16", "q/rgb24rle24",  "q/pal1huffmsb", "q/rgb24jpeg",       "q/rgb24png",
      "q/rgba64",       "x/ba-bm",       "b/badbitcount", "b/badwidth",        "b/reallybig",
      "b/shortfile",    "b/rletopdown",  "b/badheadersize"};
  for (const char* file : rejected) EXPECT_FALSE(LoadBitmapFile(Suite(file + std::string(".bmp"))));
  EXPECT_TRUE(LoadBitmapFile(Suite("q/rgb24prof2.bmp")));  // loads, with its channels swapped
}

}  // namespace
