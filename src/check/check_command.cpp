// The check subcommand's arguments, its run and its exit status.
#include "check/check_command.h"

#include <algorithm>
#include <optional>

#include "check/findings_output.h"
#include "check/novel_walk.h"
#include "platform/files/host_path.h"

namespace {

constexpr char CHECK_USAGE[] =
    "Usage: yomu check [--json] NOVEL_DIR\n"
    "Reads the novel in NOVEL_DIR as the reader does, without a window or sound, and\n"
    "prints what the reader will read otherwise than it looks: FILE:LINE: error|warning:\n"
    "MESSAGE, or a JSON array with --json. Exit status 0 without errors, 1 with errors.\n";

int UsageError(std::ostream& errors, const std::string& message) {
  errors << "yomu check: " << message << "\n" << CHECK_USAGE;
  return 2;
}

}  // namespace

int RunCheckCommand(const std::vector<std::string>& arguments, std::ostream& out,
                    std::ostream& errors) {
  bool json = false;
  std::optional<std::string> directory;
  for (const std::string& argument : arguments) {
    if (argument == "--help") {
      out << CHECK_USAGE;
      return 0;
    } else if (argument == "--json") {
      json = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      return UsageError(errors, "unknown option " + argument);
    } else if (directory) {
      return UsageError(errors, "more than one novel directory given");
    } else {
      directory = argument;
    }
  }
  if (!directory) return UsageError(errors, "no novel directory given");
  const std::optional<std::string> resolved = RealPath(*directory);
  if (!resolved) return UsageError(errors, "cannot open the novel directory " + *directory);
  const std::vector<Finding> findings = CheckNovel(*resolved);
  if (json) {
    WriteFindingsJson(findings, out);
  } else {
    WriteFindingsText(findings, out);
  }
  const bool any_error = std::any_of(findings.begin(), findings.end(), [](const Finding& finding) {
    return finding.severity == Severity::Error;
  });
  return any_error ? 1 : 0;
}
