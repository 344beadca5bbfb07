// From the process's start to its first present: the program started headless on
// the sample novel, timed until its log shows the first page. A start loads the
// program's libraries, finds the font (remembered from the warm-up start), reads
// the files and runs the first step, as a reader's start does.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Starts the program with its standard output on a pipe; the seconds until the first
// present, or a negative number when it never came.
double SecondsToFirstPresent() {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  std::string program = YOMU_BINARY, headless = "--headless", events = "--events=/dev/null";
  std::string novel = YOMU_DEMO_DIR;
  char* argv[] = {program.data(), headless.data(), events.data(), novel.data(), nullptr};
  const Clock::time_point start = Clock::now();
  pid_t child = -1;
  const bool started = posix_spawn(&child, argv[0], &actions, nullptr, argv, environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  double seconds = -1;
  std::string output;
  char buffer[4096];
  for (ssize_t got; started && (got = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<std::size_t>(got));
    if (seconds < 0 && output.find(" present\n") != std::string::npos) {
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
  }
  close(pipe_ends[0]);
  if (started) waitpid(child, nullptr, 0);
  return seconds;
}

void BM_StartToFirstPresent(benchmark::State& state) {
  // The font is remembered in a cache of the benchmark's own, by a first start.
  char pattern[] = "/tmp/yomu-start-bench-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return state.SkipWithError("no temporary folder");
  setenv("XDG_CACHE_HOME", pattern, 1);
  SecondsToFirstPresent();
  for (auto _ : state) {
    const double seconds = SecondsToFirstPresent();
    if (seconds < 0) {
      state.SkipWithError("the program showed no page");
      break;
    }
    state.SetIterationTime(seconds);
  }
  std::filesystem::remove_all(pattern);
}
BENCHMARK(BM_StartToFirstPresent)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
