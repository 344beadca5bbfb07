// The findings of "yomu check" as lines for people, "FILE:LINE: error: MESSAGE",
// or as a JSON array for tools.
#pragma once

#include <ostream>
#include <vector>

#include "check/finding.h"

void WriteFindingsText(const std::vector<Finding>& findings, std::ostream& out);
void WriteFindingsJson(const std::vector<Finding>& findings, std::ostream& out);
