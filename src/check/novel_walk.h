// "yomu check" over a whole novel: the first script, every script that "FI" lines,
// the contents file and the bookmarks lead to, each read as the reader reads it.
#pragma once

#include <string>
#include <vector>

#include "check/finding.h"

class Volume;

struct NovelCheck {
  std::vector<Finding> findings;  // by file in the order the walk met them, by line in each
  int scripts = 0;                // the scripts read
};

NovelCheck CheckNovel(Volume& volume);
