// The line table and its loader.
#include "script/line_table.h"

#include <cstring>

#include "platform/files/text_file.h"
#include "reader/reader.h"
#include "script/line_pieces.h"

bool LineInTable(int index) { return index >= 0 && index < SCRIPT_LINE_COUNT; }

void ResetScript(Reader& r) {
  ReaderState& s = r.state;
  // Only the first bytes are cleared: what lies behind a terminator stays.
  for (auto& line : s.ScriptLines) line[0] = '\0';
  for (auto& choice : s.ChoiceTexts) choice[0] = '\0';
  s.ChoiceBlockIndex = 0;
  s.CurrentLine = 0;
  s.FontHeight = 24;
  s.Mode = ModeReady;
}

void LoadScript(Reader& r) {
  ReaderState& s = r.state;
  std::optional<TextFileReader> file = TextFileReader::Open(r.platform.HostPath(s.ScriptFileName));
  if (!file) return;
  // A longer file line arrives in pieces of at most 255 bytes, each a line of its own;
  // slots behind the last line read keep what they held.
  ScriptLineReader pieces(*file);
  char buffer[SCRIPT_LINE_SIZE];
  for (auto& slot : s.ScriptLines) {
    if (!pieces.ReadPiece(buffer)) break;
    std::memcpy(slot, buffer, std::strlen(buffer) + 1);
  }
}
