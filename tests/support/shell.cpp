// Commands run through the shell.
#include "support/shell.h"

#include <sys/wait.h>

#include <cstdio>

ShellResult RunShell(const std::string& command) {
  ShellResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[512];
  for (std::size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    result.output.append(buffer, count);
  }
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool OnPath(const std::string& program) {
  return RunShell("command -v " + program + " >/dev/null 2>&1").status == 0;
}
