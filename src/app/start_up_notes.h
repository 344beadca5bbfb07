// What the command line tells the user about a novel before it opens: lines for
// standard error about what is missing, while the reader opens all the same.
#pragma once

#include <string>
#include <vector>

class Platform;

// "no Mincho font found" when no face was found, and that the first script
// "タイトル.txt" is not in the novel's folder.
std::vector<std::string> StartUpNotes(Platform& platform);
