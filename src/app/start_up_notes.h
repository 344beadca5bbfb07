// What the command line tells the user about a novel before it opens: lines for
// standard error about what is missing, while the reader opens all the same.
#pragma once

#include <string>
#include <vector>

class Platform;

// A remembered font that could not be used, and "no Mincho font found" when no face
// was found. A missing first script is told by the reader itself, as every missing
// file is.
std::vector<std::string> StartUpNotes(Platform& platform);
