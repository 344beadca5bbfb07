// The command line: options in the GNU style, the novel's folder, and the checks
// that end the program with a message and exit status 2 before anything opens.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/headless_runner.h"

constexpr int EXIT_USAGE = 2;  // a wrong command line

struct CommandLine {
  bool headless = false;
  int scale = 0;             // 0: as the window was left, else the largest that fits the screen
  bool novel_named = false;  // by the command line, or by --last
  bool last_novel = false;   // --last
  std::optional<std::string> events_file;
  std::optional<std::string> soundfont_file;
  // The options as given, but --last, --continue and "--": those of a new start on
  // another novel.
  std::vector<std::string> reader_options;
  HeadlessOptions options;  // the novel's folder and the font file
};

struct ParsedCommandLine {
  std::optional<CommandLine> line;  // nothing when the program ends at once
  int exit_status = 0;              // then: 0 after --help or --version, else EXIT_USAGE
};

// Prints help, the version or a message as the command line asks.
ParsedCommandLine ParseCommandLine(int argc, char** argv);
