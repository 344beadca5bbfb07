// The cost of a "BMP" line's load: a 640 x 480 24-bit picture read from a file,
// checked, decoded and made opaque 0x00RRGGBB pixels.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

#include "platform/gdi/picture_file.h"
#include "support/bmp_writer.h"

namespace {

// A page-sized picture as a paint program saves it: 24 bits, bottom-up.
std::string PageBmp() {
  Bitmap page(640, 480);
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) page.set_pixel(x, y, static_cast<std::uint32_t>((x ^ y) << 16 | y << 8 | (x & 0xFF)));
  }
  return Bmp24(page);
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
