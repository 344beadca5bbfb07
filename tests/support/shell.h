// Commands run through the shell, for tests of the program as a user starts it.
#pragma once

#include <string>

struct ShellResult {
  int status = -1;  // the exit status, or -1 when the command did not exit
  std::string output;
};

// Runs command with sh -c and collects its standard output.
ShellResult RunShell(const std::string& command);

// A word quoted for the shell.
std::string ShellQuoted(const std::string& word);

// True when program is found on PATH.
bool OnPath(const std::string& program);
