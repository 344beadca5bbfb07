// From the process's start to its first present: the program started headless on a
// novel, timed until its log shows the first page, with the process's peak memory.
// A start loads the program's libraries, finds the font (remembered from the warm-up
// start), opens the novel's folder or archive, reads the files and runs the first
// step, as a reader's start does. The sample novel is started from its folder, its
// ZIP (CP932 names) and its LZH; a novel of 2,000 files (50 MB) from its folder and
// its ZIP.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "novel_folder.h"
#include "spawned_reader.h"

namespace {

// Starts the program on a novel until its first page shows.
SpawnedRun StartOn(const std::string& novel_path) {
  return RunUntil({YOMU_BINARY, "--headless", "--events=/dev/null", novel_path}, " present");
}

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

// The novels started, made once: the sample novel's archives, and a novel of 2,000
// files of 25 KB each that do not pack, whose first page shows one of them as a picture.
class BenchNovels {
 public:
  BenchNovels() {
    const std::string tools = std::string(YOMU_SOURCE_DIR) + "/tests/support/";
    ok_ = Run("python3 " + tools + "write_zip.py " + YOMU_DEMO_DIR + " " + Path("demo.zip")) &&
          Run("cp " + std::string(YOMU_TESTDATA_DIR) + "/archives/demo.lzh " + Path("demo.lzh"));
    const std::string large = Path("large");
    std::filesystem::create_directory(large);
    std::mt19937 random(2026);
    for (int k = 0; k < 2000; ++k) {
      std::string bytes(25'000, '\0');
      for (char& c : bytes) c = static_cast<char>(random());
      char name[32];
      std::snprintf(name, sizeof name, "/file%04d.bin", k);
      std::FILE* file = std::fopen((large + name).c_str(), "wb");
      if (file != nullptr) std::fwrite(bytes.data(), 1, bytes.size(), file);
      if (file != nullptr) std::fclose(file);
    }
    // タイトル.txt: a picture over the page, one paragraph (一。), the end.
    std::FILE* script =
        std::fopen((large + "/\xe3\x82\xbf\xe3\x82\xa4\xe3\x83\x88\xe3\x83\xab.txt").c_str(), "wb");
    if (script != nullptr) {
      std::fputs("BMP \"night.bmp\"\n\x88\xea\x81\x42\nE\n", script);
      std::fclose(script);
    }
    ok_ = ok_ && Run("cp " + std::string(YOMU_DEMO_DIR) + "/night.bmp " + large + "/") &&
          Run("python3 " + tools + "write_zip.py " + large + " " + Path("large.zip"));
  }
  std::string Path(const std::string& name) const { return folder_.path() + "/" + name; }
  bool ok() const { return ok_; }

 private:
  BenchFolder folder_;
  bool ok_ = false;
};

const BenchNovels& Novels() {
  static const BenchNovels novels;
  return novels;
}

void StartToFirstPresent(benchmark::State& state, const std::string& novel) {
  if (!Novels().ok()) return state.SkipWithError("the novels could not be made");
  // The font is remembered in a cache of the benchmark's own, by a first start.
  char pattern[] = "/tmp/yomu-start-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return state.SkipWithError("no temporary folder");
  setenv("XDG_CACHE_HOME", pattern, 1);
  StartOn(novel);
  double peak_rss_mb = 0;
  for (auto _ : state) {
    const SpawnedRun start = StartOn(novel);
    if (start.seconds < 0) {
      state.SkipWithError("the program showed no page");
      break;
    }
    state.SetIterationTime(start.seconds);
    peak_rss_mb = std::max(peak_rss_mb, start.peak_rss_mb);
  }
  state.counters["peak_rss_MB"] = peak_rss_mb;
  std::filesystem::remove_all(pattern);
}

void BM_StartToFirstPresent(benchmark::State& state) { StartToFirstPresent(state, YOMU_DEMO_DIR); }
void BM_StartToFirstPresentFromZip(benchmark::State& state) {
  StartToFirstPresent(state, Novels().Path("demo.zip"));
}
void BM_StartToFirstPresentFromLzh(benchmark::State& state) {
  StartToFirstPresent(state, Novels().Path("demo.lzh"));
}
void BM_StartToFirstPresentLargeFolder(benchmark::State& state) {
  StartToFirstPresent(state, Novels().Path("large"));
}
void BM_StartToFirstPresentLargeZip(benchmark::State& state) {
  StartToFirstPresent(state, Novels().Path("large.zip"));
}
BENCHMARK(BM_StartToFirstPresent)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartToFirstPresentFromZip)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartToFirstPresentFromLzh)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartToFirstPresentLargeFolder)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartToFirstPresentLargeZip)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
