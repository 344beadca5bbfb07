// The cost of a "BMP" line's load: a 640 x 480 24-bit picture read from a file,
// checked, decoded and made opaque 0x00RRGGBB pixels; the line on a click, with
// its picture read at the line or read ahead while the reader waited; and the memory
// that loading a page-sized and a 4000 x 3000 picture takes at its peak.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/gdi/picture_file.h"
#include "render/pictures.h"
#include "started_reader.h"
#include "support/bmp_writer.h"

namespace {

// A picture as a paint program saves it: 24 bits, bottom-up.
std::string PatternBmp(int width, int height) {
  Bitmap page(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      page.set_pixel(x, y, static_cast<std::uint32_t>((x ^ y) << 16 | y << 8 | (x & 0xFF)));
    }
  }
  return Bmp24(page);
}

// A picture file in a temporary directory, removed with it.
class PictureOnDisk {
 public:
  explicit PictureOnDisk(int width = 640, int height = 480) {
    char pattern[] = "/tmp/yomu-bench-XXXXXX";
    if (mkdtemp(pattern) != nullptr) directory_ = pattern;
    path_ = directory_ + "/page.bmp";
    std::ofstream(path_, std::ios::binary) << PatternBmp(width, height);
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

// The sample novel's pictures, one of each kind the reader decodes: 4-bit, 8-bit
// run-length, 16-bit bit fields and 24-bit.
void BM_LoadSamplePicture(benchmark::State& state) {
  constexpr const char* NAMES[] = {"night.bmp", "lamp.bmp", "road.bmp", "dawn.bmp"};
  const std::string name = NAMES[state.range(0)];
  state.SetLabel(name);
  for (auto _ : state) {
    std::optional<Bitmap> loaded = LoadBitmapFile(std::string(YOMU_DEMO_DIR) + "/" + name);
    if (!loaded) return state.SkipWithError("the picture did not load");
    benchmark::DoNotOptimize(loaded->row(0));
  }
}
BENCHMARK(BM_LoadSamplePicture)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The sample novel's "BMP \"road.bmp\"" on a click (16-bit bit fields): 0, its picture
// read at the line; 1, read ahead while the reader waited.
void BM_PictureLineOnAClick(benchmark::State& state) {
  StartedReader started(YOMU_DEMO_DIR);
  Reader& r = started.reader;
  const bool ahead = state.range(0) == 1;
  state.SetLabel(ahead ? "read ahead" : "read at the line");
  for (auto _ : state) {
    state.PauseTiming();
    std::strcpy(r.state.ScriptLines[0], "BMP \"road.bmp\"\n");
    r.state.CurrentLine = 0;
    if (ahead) ReadPictureAhead(r, "road.bmp");
    state.ResumeTiming();
    CmdPicture(r);
  }
}
BENCHMARK(BM_PictureLineOnAClick)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// A field of /proc/self/status in kilobytes.
long StatusKb(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
  }
  return -1;
}

// The growth of the resident memory's peak while one picture loads, in a child
// process that starts from this one's pages.
double PeakGrowthMb(const std::string& path) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    const long before = StatusKb("VmRSS:");
    const std::optional<Bitmap> picture = LoadBitmapFile(path);
    const long growth = picture ? StatusKb("VmHWM:") - before : -1;
    _exit(write(pipe_ends[1], &growth, sizeof growth) == sizeof growth ? 0 : 1);
  }
  long growth = -1;
  close(pipe_ends[1]);
  if (read(pipe_ends[0], &growth, sizeof growth) != sizeof growth) growth = -1;
  close(pipe_ends[0]);
  waitpid(child, nullptr, 0);
  return growth / 1024.0;
}

void BM_PicturePeakMemory(benchmark::State& state) {
  const PictureOnDisk picture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  double growth_mb = 0;
  for (auto _ : state) growth_mb = PeakGrowthMb(picture.path());
  if (growth_mb < 0) state.SkipWithError("the picture did not load");
  state.counters["peak_growth_MB"] = growth_mb;
}
BENCHMARK(BM_PicturePeakMemory)
    ->Args({640, 480})
    ->Args({4000, 3000})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

}  // namespace
