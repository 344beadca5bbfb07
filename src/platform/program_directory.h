// Where the running program lies, for the files installed beside it.
#pragma once

#include <string>

// The folder of the running program, links resolved; empty when it cannot be told.
std::string ProgramDirectory();
