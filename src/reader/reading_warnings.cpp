// Where the reader stands in the novel, for its warnings.
#include "reader/reading_warnings.h"

#include <cstring>

#include "platform/translation.h"
#include "reader/reader.h"

namespace {

// A slot that ends without its line feed at the 255-byte limit (254 when a character
// would have been cut) holds the first part of a longer file line.
bool IsCutPiece(const char* slot) {
  const std::size_t length = strnlen(slot, SCRIPT_LINE_SIZE);
  return length >= SCRIPT_LINE_SIZE - 2 && slot[length - 1] != '\n';
}

}  // namespace

int FileLineOfSlot(const ReaderState& s, int slot) {
  int line = 1;
  for (int k = 0; k < slot && k < SCRIPT_LINE_COUNT; ++k)
    line += IsCutPiece(s.ScriptLines[k]) ? 0 : 1;
  return line;
}

std::string CurrentLineLocation(Reader& r) {
  const ReaderState& s = r.state;
  return r.platform.shift_jis.ToUtf8(s.ScriptFileName) + ":" +
         std::to_string(FileLineOfSlot(s, s.CurrentLine));
}

void WarnAt(Reader& r, const std::string& location, const std::string& message_utf8) {
  r.platform.Warn(location.empty() ? message_utf8 : location + ": " + message_utf8);
}

void WarnAtCurrentLine(Reader& r, const std::string& message_utf8) {
  WarnAt(r, CurrentLineLocation(r), message_utf8);
}

void WarnScriptNotOpened(Reader& r, const std::string& location, const FileError& error) {
  const std::string problem = "script " +
                              QuotedForMessage(r.platform.shift_jis, r.state.ScriptFileName) +
                              " " + DescribeFileError(error);
  WarnAt(r, location, problem);
  // A script that is there but damaged leaves the novel nowhere to go: the reader sees why.
  if (error.problem == FileProblem::Unreadable) {
    ShowMessage(r.platform, Formatted(_("yomu cannot go on with this novel: %s."), problem));
  }
}

std::string QuotedForMessage(ShiftJis& shift_jis, const char* name_sjis) {
  return "\"" + shift_jis.ToUtf8(name_sjis) + "\"";
}
