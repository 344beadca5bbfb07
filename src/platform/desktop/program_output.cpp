// Outside programs through posix_spawnp and a pipe.
#include "platform/desktop/program_output.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files/regular_file.h"

extern char** environ;

namespace {

constexpr std::size_t OUTPUT_MAX_BYTES = 64 * 1024;

// The child's standard streams: input and error from and to /dev/null, output to the pipe.
class SpawnFiles {
 public:
  explicit SpawnFiles(int output) {
    posix_spawn_file_actions_init(&actions_);
    posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions_, output, 1);
    posix_spawn_file_actions_addopen(&actions_, 2, "/dev/null", O_WRONLY, 0);
  }
  ~SpawnFiles() { posix_spawn_file_actions_destroy(&actions_); }
  SpawnFiles(const SpawnFiles&) = delete;
  SpawnFiles& operator=(const SpawnFiles&) = delete;
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

std::string ReadAll(int from) {
  std::string output;
  char block[4096];
  for (ssize_t count; (count = read(from, block, sizeof block)) != 0;) {
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) break;
    if (output.size() < OUTPUT_MAX_BYTES) output.append(block, static_cast<std::size_t>(count));
  }
  return output;
}

}  // namespace

std::optional<ProgramOutput> RunProgram(const std::vector<std::string>& arguments) {
  int ends[2];
  if (arguments.empty() || pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
  FileDescriptor reading(ends[0]);
  std::optional<FileDescriptor> writing(std::in_place, ends[1]);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t child = -1;
  const SpawnFiles files(writing->get());
  if (posix_spawnp(&child, argv[0], files.get(), nullptr, argv.data(), environ) != 0) {
    return std::nullopt;
  }
  writing.reset();
  ProgramOutput result;
  result.output = ReadAll(reading.get());
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) result.exit_status = WEXITSTATUS(status);
  return result;
}
