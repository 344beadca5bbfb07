// The check subcommand's arguments, its run and its exit status.
#include "check/check_command.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "check/findings_output.h"
#include "check/novel_walk.h"
#include "platform/files/open_novel.h"
#include "reader/texts.h"

namespace {

constexpr char CHECK_USAGE[] =
    "Usage: yomu check [--json] NOVEL\n"
    "Reads the novel NOVEL, a folder or an archive (.zip, .lzh, .7z ...), as the reader\n"
    "does, without a window or sound, and prints what the reader will read otherwise\n"
    "than it looks: FILE:LINE: error|warning: MESSAGE and a line that counts them, or a\n"
    "JSON array with --json.\n"
    "Exit status 0 without errors, 1 with errors.\n";

std::string Counted(long count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

int UsageError(std::ostream& errors, const std::string& message) {
  errors << "yomu check: " << message << "\n" << CHECK_USAGE;
  return 2;
}

}  // namespace

int RunCheckCommand(const std::vector<std::string>& arguments, std::ostream& out,
                    std::ostream& errors) {
  bool json = false;
  std::optional<std::string> novel;
  for (const std::string& argument : arguments) {
    if (argument == "--help") {
      out << CHECK_USAGE;
      return 0;
    } else if (argument == "--json") {
      json = true;
    } else if (argument.size() > 1 && argument[0] == '-') {
      return UsageError(errors, "unknown option " + argument);
    } else if (novel) {
      return UsageError(errors, "more than one novel given");
    } else {
      novel = argument;
    }
  }
  if (!novel) return UsageError(errors, "no novel given");
  ErrorOr<OpenedNovel, std::string> opened = OpenNovel(*novel, texts::FIRST_SCRIPT);
  if (!opened) return UsageError(errors, opened.error());
  std::vector<Finding> findings;
  // What the archive itself holds back is said first, of the archive as a whole.
  const std::string archive = std::filesystem::path(*novel).filename().string();
  for (const std::string& note : opened->notes) {
    findings.push_back({archive, 0, Severity::Warning, note});
  }
  NovelCheck check = CheckNovel(*opened->volume);
  for (Finding& finding : check.findings) findings.push_back(std::move(finding));
  const auto errors_found = std::count_if(findings.begin(), findings.end(), [](const Finding& f) {
    return f.severity == Severity::Error;
  });
  if (json) {
    WriteFindingsJson(findings, out);
  } else {
    WriteFindingsText(findings, out);
    out << Counted(errors_found, "error") << ", "
        << Counted(static_cast<long>(findings.size()) - errors_found, "warning") << " in "
        << Counted(check.scripts, "script") << "\n";
  }
  return errors_found > 0 ? 1 : 0;
}
