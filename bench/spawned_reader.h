// The program started as a user starts it, headless, with its log on a pipe: timed from
// the start until the log shows a record and until it ends, with the process's peak
// memory and its log.
#pragma once

#include <malloc.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

struct SpawnedRun {
  double seconds = -1;        // to the record; negative when it never came
  double ended_seconds = -1;  // to the process's end
  double peak_rss_mb = 0;
  std::string log;
};

// A child's peak memory counts the pages it shared with this process until its exec,
// at this process's own peak: that peak is brought down to what this process holds now,
// its freed memory given back first.
inline void ForgetOwnPeakMemory() {
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";
}

// record: the end of a log line, such as " present".
inline SpawnedRun RunUntil(std::vector<std::string> arguments, const std::string& record) {
  using Clock = std::chrono::steady_clock;
  SpawnedRun run;
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  ForgetOwnPeakMemory();
  const Clock::time_point begun = Clock::now();
  pid_t child = -1;
  const bool started = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  std::string& output = run.log;
  char buffer[4096];
  for (ssize_t got; started && (got = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<std::size_t>(got));
    if (run.seconds < 0 && output.find(record + "\n") != std::string::npos) {
      run.seconds = std::chrono::duration<double>(Clock::now() - begun).count();
    }
  }
  close(pipe_ends[0]);
  rusage usage{};
  if (started) wait4(child, nullptr, 0, &usage);
  if (started) run.ended_seconds = std::chrono::duration<double>(Clock::now() - begun).count();
  run.peak_rss_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return run;
}
