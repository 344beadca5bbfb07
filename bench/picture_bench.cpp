// The cost of a "BMP" line's load: a 640 x 480 24-bit picture read from a file,
// checked, decoded and made opaque 0x00RRGGBB pixels.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "platform/gdi/picture_file.h"

namespace {

void Put16(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// A page-sized picture as a paint program saves it: 24 bits, bottom-up.
std::string PageBmp() {
  constexpr std::uint32_t kWidth = 640, kHeight = 480, kStride = kWidth * 3, kOffset = 54;
  std::string out = "BM";
  Put32(out, kOffset + kStride * kHeight);
  Put32(out, 0);
  Put32(out, kOffset);
  for (std::uint32_t field : {40u, kWidth, kHeight}) Put32(out, field);
  Put16(out, 1);
  Put16(out, 24);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (std::uint32_t y = 0; y < kHeight; ++y) {
    for (std::uint32_t x = 0; x < kWidth; ++x) {
      out += static_cast<char>(x);
      out += static_cast<char>(y);
      out += static_cast<char>(x ^ y);
    }
  }
  return out;
}

// A picture file in a temporary directory, removed with it.
class PictureOnDisk {
 public:
  PictureOnDisk() {
    char pattern[] = "/tmp/yomu-bench-XXXXXX";
    if (mkdtemp(pattern) != nullptr) directory_ = pattern;
    path_ = directory_ + "/page.bmp";
    std::ofstream(path_, std::ios::binary) << PageBmp();
  }
  ~PictureOnDisk() {
    unlink(path_.c_str());
    rmdir(directory_.c_str());
  }
  PictureOnDisk(const PictureOnDisk&) = delete;
  PictureOnDisk& operator=(const PictureOnDisk&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string directory_;
  std::string path_;
};

void BM_LoadPagePicture(benchmark::State& state) {
  const PictureOnDisk picture;
  for (auto _ : state) {
    std::optional<Bitmap> loaded = LoadBitmapFile(picture.path());
    if (!loaded) {
      state.SkipWithError("the picture did not load");
      break;
    }
    benchmark::DoNotOptimize(loaded->row(0));
  }
}
BENCHMARK(BM_LoadPagePicture)->Unit(benchmark::kMicrosecond);

}  // namespace
