// zenity and kdialog as file choosers: the novels opened last in a list first, when
// there are any, then the file selection.
#include <charconv>
#include <string_view>

#include "platform/desktop/file_chooser.h"
#include "platform/desktop/program_output.h"

namespace {

// What the program wrote, the line end that closes it taken off: a name may hold
// line ends of its own.
std::string Answered(const std::string& output) {
  return output.ends_with('\n') ? output.substr(0, output.size() - 1) : output;
}

ChooserAnswer AnswerOf(const std::optional<ProgramOutput>& run) {
  // Neither 0 (chosen) nor 1 (cancelled): the program cannot show a dialog here.
  if (!run || (run->exit_status != 0 && run->exit_status != 1)) return {};
  if (run->exit_status == 1 || Answered(run->output).empty()) {
    return {ChooserAnswer::Kind::Cancelled, {}};
  }
  return {ChooserAnswer::Kind::Chosen, Answered(run->output)};
}

// The list answers with the number of the line picked, so that no path passes through
// the list's text (which shows only valid UTF-8); the last number asks for a file.
std::optional<std::size_t> PickedLine(const std::string& answer) {
  std::size_t line = 0;
  const auto [end, error] = std::from_chars(answer.data(), answer.data() + answer.size(), line);
  if (error != std::errc() || end != answer.data() + answer.size()) return std::nullopt;
  return line;
}

std::string JoinedPatterns(const ChooserRequest& request) {
  std::string joined;
  for (const std::string& pattern : request.patterns)
    joined += (joined.empty() ? "" : " ") + pattern;
  return joined;
}

std::string StartFolder(const ChooserRequest& request) {
  if (request.recent.empty()) return {};
  const std::string& last = request.recent.front().path;
  return last.substr(0, last.rfind('/') + 1);
}

std::vector<std::string> ZenityList(const ChooserRequest& request) {
  std::vector<std::string> call{"zenity",       "--list",         "--title=" + request.title_utf8,
                                "--column=",    "--column=" + request.title_utf8,
                                "--hide-column=1", "--print-column=1", "--hide-header"};
  for (std::size_t line = 0; line <= request.recent.size(); ++line) {
    call.push_back(std::to_string(line));
    call.push_back(line < request.recent.size() ? request.recent[line].label_utf8
                                                : request.other_label_utf8);
  }
  return call;
}

std::vector<std::string> ZenityFiles(const ChooserRequest& request) {
  std::vector<std::string> call{
      "zenity", "--file-selection", "--title=" + request.title_utf8,
      "--file-filter=" + request.filter_name_utf8 + " | " + JoinedPatterns(request)};
  if (!request.recent.empty()) call.push_back("--filename=" + StartFolder(request));
  return call;
}

std::vector<std::string> KdialogList(const ChooserRequest& request) {
  std::vector<std::string> call{"kdialog", "--title", request.title_utf8, "--menu",
                                request.title_utf8};
  for (std::size_t line = 0; line <= request.recent.size(); ++line) {
    call.push_back(std::to_string(line));
    call.push_back(line < request.recent.size() ? request.recent[line].label_utf8
                                                : request.other_label_utf8);
  }
  return call;
}

std::vector<std::string> KdialogFiles(const ChooserRequest& request) {
  return {"kdialog",
          "--title",
          request.title_utf8,
          "--getopenfilename",
          request.recent.empty() ? "." : StartFolder(request),
          request.filter_name_utf8 + " (" + JoinedPatterns(request) + ")"};
}

}  // namespace

ChooserAnswer ChooseWithDialogProgram(const std::string& program, const ChooserRequest& request) {
  const bool zenity = program == "zenity";
  if (!request.recent.empty()) {
    const ChooserAnswer listed =
        AnswerOf(RunProgram(zenity ? ZenityList(request) : KdialogList(request)));
    if (listed.kind != ChooserAnswer::Kind::Chosen) return listed;
    const std::optional<std::size_t> line = PickedLine(listed.path);
    if (!line) return {ChooserAnswer::Kind::Cancelled, {}};
    if (*line < request.recent.size()) {
      return {ChooserAnswer::Kind::Chosen, request.recent[*line].path};
    }
  }
  return AnswerOf(RunProgram(zenity ? ZenityFiles(request) : KdialogFiles(request)));
}

ChooserAnswer ChooseFile(const ChooserRequest& request) {
  ChooserAnswer answer = ChooseWithPortal(request);
  for (const char* program : {"zenity", "kdialog"}) {
    if (answer.kind != ChooserAnswer::Kind::Unavailable) break;
    answer = ChooseWithDialogProgram(program, request);
  }
  return answer;
}
