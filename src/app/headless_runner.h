// The headless runner: the reader on a novel directory with the headless backend,
// driven by an event list, its log on an output stream.
#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "app/reading_aids.h"

struct HeadlessOptions {
  std::string novel_directory = ".";
  std::optional<std::string> font_file;
  ReadingOptions reading;
};

// Returns the process's exit status: the reader's own, or 2 for a bad event list or
// a directory that cannot be used (with a message on errors).
int RunHeadless(const HeadlessOptions& options, std::istream& events, std::ostream& log,
                std::ostream& errors);
