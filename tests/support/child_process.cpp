// Child processes of tests.
#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

extern char** environ;

Child::Child(std::vector<std::string> arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  if (posix_spawnp(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
}

Child::~Child() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

int Child::Stop() {
  kill(pid_, SIGTERM);
  return Wait(5000);
}

int Child::Wait(int milliseconds) {
  int status = 0;
  for (int waited = 0; waited < milliseconds; waited += 10) {
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

std::string StartAndRead(std::unique_ptr<Child>& child, std::vector<std::string> arguments) {
  int ends[2];
  if (pipe(ends) != 0) return "";
  fcntl(ends[0], F_SETFD, FD_CLOEXEC);
  for (std::string& argument : arguments) {
    if (const std::size_t at = argument.find("{fd}"); at != std::string::npos) {
      argument.replace(at, 4, std::to_string(ends[1]));
    }
  }
  child = std::make_unique<Child>(std::move(arguments));
  close(ends[1]);
  std::string line;
  pollfd ready{ends[0], POLLIN, 0};
  char c = 0;
  while (poll(&ready, 1, 5000) == 1 && read(ends[0], &c, 1) == 1 && c != '\n') line += c;
  close(ends[0]);
  return line;
}

bool WaitFor(const std::function<bool()>& ready, int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 50) {
    if (ready()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return ready();
}
