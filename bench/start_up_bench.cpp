// From the process's start to its first present: the program started headless on a
// novel, timed until its log shows the first page, with the process's peak memory.
// A start loads the program's libraries, finds the font (remembered from the warm-up
// start), opens the novel's folder or archive, reads the files and runs the first
// step, as a reader's start does. The sample novel is started from its folder, its
// ZIP (CP932 names) and its LZH; a novel of 2,000 files (50 MB) from its folder and
// its ZIP.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "novel_folder.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Start {
  double seconds = -1;  // to the first present; negative when it never came
  double peak_rss_mb = 0;
};

// Starts the program with its standard output on a pipe.
Start StartOn(const std::string& novel_path) {
  Start start;
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return start;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  std::string program = YOMU_BINARY, headless = "--headless", events = "--events=/dev/null";
  std::string novel = novel_path;
  char* argv[] = {program.data(), headless.data(), events.data(), novel.data(), nullptr};
  const Clock::time_point begun = Clock::now();
  pid_t child = -1;
  const bool started = posix_spawn(&child, argv[0], &actions, nullptr, argv, environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  std::string output;
  char buffer[4096];
  for (ssize_t got; started && (got = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<std::size_t>(got));
    if (start.seconds < 0 && output.find(" present\n") != std::string::npos) {
      start.seconds = std::chrono::duration<double>(Clock::now() - begun).count();
    }
  }
  close(pipe_ends[0]);
  rusage usage{};
  if (started) wait4(child, nullptr, 0, &usage);
  start.peak_rss_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return start;
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
    const Start start = StartOn(novel);
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
