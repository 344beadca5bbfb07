// A finding of "yomu check": where, how bad, and what the reader will do.
#pragma once

#include <string>

#include "script/line_rules.h"

struct Finding {
  std::string file;  // the file name as the novel gives it, in UTF-8
  int line = 0;      // from 1; 0 for the file as a whole
  Severity severity = Severity::Error;
  std::string message;  // UTF-8
};
