// zenity and kdialog as file choosers: the novels opened last in a list first, when
// there are any, then the file selection.
#include <string_view>

#include "platform/desktop/file_chooser.h"
#include "platform/desktop/program_output.h"

namespace {

// The first line the program wrote.
std::string FirstLine(const std::string& output) { return output.substr(0, output.find('\n')); }

ChooserAnswer AnswerOf(const std::optional<ProgramOutput>& run) {
  // Neither 0 (chosen) nor 1 (cancelled): the program cannot show a dialog here.
  if (!run || (run->exit_status != 0 && run->exit_status != 1)) return {};
  if (run->exit_status == 1 || FirstLine(run->output).empty()) {
    return {ChooserAnswer::Kind::Cancelled, {}};
  }
  return {ChooserAnswer::Kind::Chosen, FirstLine(run->output)};
}

std::string JoinedPatterns(const ChooserRequest& request) {
  std::string joined;
  for (const std::string& pattern : request.patterns)
    joined += (joined.empty() ? "" : " ") + pattern;
  return joined;
}

std::string StartFolder(const ChooserRequest& request) {
  if (request.recent.empty()) return {};
  const std::string& last = request.recent.front();
  return last.substr(0, last.rfind('/') + 1);
}

std::vector<std::string> ZenityList(const ChooserRequest& request) {
  std::vector<std::string> call{"zenity", "--list", "--title=" + request.title_utf8,
                                "--column=" + request.title_utf8, "--hide-header"};
  call.insert(call.end(), request.recent.begin(), request.recent.end());
  call.push_back(request.other_label_utf8);
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
  for (const std::string& novel : request.recent) {
    call.push_back(novel);
    call.push_back(novel);
  }
  call.push_back(request.other_label_utf8);
  call.push_back(request.other_label_utf8);
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
    // The last entry asks for another novel.
    if (listed.kind != ChooserAnswer::Kind::Chosen || listed.path != request.other_label_utf8) {
      return listed;
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
