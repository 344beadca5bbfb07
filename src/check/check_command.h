// The "check" subcommand: yomu check [--json] NOVEL_DIR.
#pragma once

#include <ostream>
#include <string>
#include <vector>

// The arguments after "check". Exit status 0 without errors, 1 with errors, 2 for a
// usage error.
int RunCheckCommand(const std::vector<std::string>& arguments, std::ostream& out,
                    std::ostream& errors);
