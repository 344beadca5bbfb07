// "yomu check" over a whole novel: the first script, every script that "FI" lines,
// the contents file and the bookmarks lead to, each read as the reader reads it.
#pragma once

#include <string>
#include <vector>

#include "check/finding.h"

class Volume;

// The findings of the novel, by file in the order the walk met them, and by line
// within each file.
std::vector<Finding> CheckNovel(Volume& volume);
