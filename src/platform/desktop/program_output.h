// An outside program run to its end, with what it writes to standard output.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct ProgramOutput {
  int exit_status = -1;  // -1 when it did not exit by itself
  std::string output;
};

// Runs arguments[0], found on PATH, with standard input and error on /dev/null;
// nothing when it cannot be started. Its output is kept up to 64 KiB.
std::optional<ProgramOutput> RunProgram(const std::vector<std::string>& arguments);
