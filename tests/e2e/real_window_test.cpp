// The real window under a virtual X server: the novel opens, a click through the
// X server draws the next paragraph, and the close ends the program cleanly.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "support/novel.h"

extern char** environ;

namespace {

bool OnPath(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Output(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
  pclose(pipe);
  while (!output.empty() && (output.back() == '\n' || output.back() == ' ')) output.pop_back();
  return output;
}

// A child process that is ended when the test ends.
class Child {
 public:
  explicit Child(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (posix_spawnp(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
  }
  ~Child() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  pid_t pid() const { return pid_; }
  // Sends SIGTERM and returns the exit status, or -1.
  int Stop() {
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

 private:
  pid_t pid_ = -1;
};

bool WaitFor(const std::function<bool()>& ready, int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 50) {
    if (ready()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return ready();
}

int FreeDisplay() {
  for (int display = 90; display < 200; ++display) {
    struct stat info {};
    if (stat(("/tmp/.X" + std::to_string(display) + "-lock").c_str(), &info) != 0) return display;
  }
  return -1;
}

int WhitePixels(const Bitmap& shot, int top, int bottom) {
  int white = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < shot.width(); ++x) white += shot.pixel(x, y) == 0xFFFFFF;
  }
  return white;
}

TEST(RealWindow, ClickDrawsTheNextParagraph) {
  if (!OnPath("Xvfb") || !OnPath("xdotool") || !OnPath("import")) {
    GTEST_SKIP() << "no X server can be started here (Xvfb, xdotool or ImageMagick missing)";
  }
  const int display = FreeDisplay();
  ASSERT_GT(display, 0);
  const std::string name = ":" + std::to_string(display);
  Child server({"Xvfb", name, "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
  const std::string socket = "/tmp/.X11-unix/X" + std::to_string(display);
  struct stat info {};
  if (!WaitFor([&] { return stat(socket.c_str(), &info) == 0; }, 5000)) {
    GTEST_SKIP() << "Xvfb did not start on " << name;
  }
  setenv("DISPLAY", name.c_str(), 1);

  Novel novel;
  novel.Write("タイトル.txt", "C\n最初の段落です。\n二つ目の段落が、クリックで現れます。\nE\n");
  Child reader({YOMU_BINARY, "--scale", "1", novel.path()});
  std::string window;
  ASSERT_TRUE(WaitFor([&] {
    window = Output("xdotool search --onlyvisible --pid " + std::to_string(reader.pid()) + " 2>/dev/null | head -1");
    return !window.empty();
  }, 10000));
  EXPECT_EQ(Output("xdotool getwindowname " + window), "ミオラント");

  const std::string shot = novel.File("shot.png");
  auto take = [&] { return std::system(("import -window " + window + " " + shot).c_str()) == 0; };
  ASSERT_TRUE(WaitFor([&] { return take() && WhitePixels(ReadPng(shot), 10, 34) > 50; }, 5000));
  EXPECT_EQ(WhitePixels(ReadPng(shot), 34, 58), 0);

  std::system(("xdotool mousemove --window " + window + " 320 240 click 1").c_str());
  EXPECT_TRUE(WaitFor([&] { return take() && WhitePixels(ReadPng(shot), 34, 58) > 50; }, 5000));
  EXPECT_EQ(reader.Stop(), 0);
}

}  // namespace
