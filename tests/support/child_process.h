// Programs that a test starts beside itself (an X server, a bus, the reader), ended
// when the test ends.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Child {
 public:
  // Starts arguments[0], found on PATH, with the test's environment.
  explicit Child(std::vector<std::string> arguments);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  pid_t pid() const { return pid_; }
  // Sends SIGTERM and returns the exit status, or -1 when the child did not end
  // within a few seconds (it is killed when the test ends).
  int Stop();
  // Waits for the child to end by itself: its exit status, or -1 as for Stop.
  int Wait(int milliseconds);

 private:
  pid_t pid_ = -1;
};

// Starts arguments[0] with "{fd}" in its arguments replaced by a pipe's descriptor,
// and returns the first line that it writes there within five seconds ("" when none):
// a server's display or address, chosen by itself so that tests side by side never
// race for one.
std::string StartAndRead(std::unique_ptr<Child>& child, std::vector<std::string> arguments);

// Asks ready every 50 ms until it says yes or the time is up; its last answer.
bool WaitFor(const std::function<bool()>& ready, int milliseconds);
