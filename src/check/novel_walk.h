// "yomu check" over a whole novel: the first script, every script that "FI" lines,
// the contents file and the bookmarks lead to, each read as the reader reads it.
#pragma once

#include <string>
#include <vector>

#include "check/finding.h"

// The findings of the novel in novel_directory (a host path), by file in the order
// the walk met them, and by line within each file.
std::vector<Finding> CheckNovel(const std::string& novel_directory);
