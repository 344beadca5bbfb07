// The program started as a user starts it, headless, with its log on a pipe: timed from
// the start until the log shows a record, with the process's peak memory.
#pragma once

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

struct SpawnedRun {
  double seconds = -1;  // to the record; negative when it never came
  double peak_rss_mb = 0;
};

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
  const Clock::time_point begun = Clock::now();
  pid_t child = -1;
  const bool started = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);
  std::string output;
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
  run.peak_rss_mb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return run;
}
