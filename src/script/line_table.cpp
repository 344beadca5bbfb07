// The line table and its loader.
#include "script/line_table.h"

#include <cstring>

#include "platform/calls/media_calls.h"
#include "platform/files/author_text.h"
#include "platform/files/text_file.h"
#include "reader/reader.h"
#include "reader/reading_warnings.h"
#include "script/line_pieces.h"
#include "script/script_commands.h"
#include "script/text_layout.h"

bool LineInTable(int index) { return index >= 0 && index < SCRIPT_LINE_COUNT; }

void ResetScript(Reader& r) {
  ReaderState& s = r.state;
  // Only the first bytes are cleared: what lies behind a terminator stays.
  for (auto& line : s.ScriptLines) line[0] = '\0';
  for (auto& choice : s.ChoiceTexts) choice[0] = '\0';
  s.ChoiceBlockIndex = 0;
  s.CurrentLine = 0;
  s.FontHeight = NORMAL_FONT_HEIGHT;
  s.Mode = ModeReady;
}

void ReadScriptTable(TextFileReader& file, ScriptTable& table, ShiftJis& shift_jis,
                     ScriptTableNotes* notes) {
  // A longer file line arrives in pieces of at most 255 bytes, each a line of its own.
  ScriptLineReader pieces(file);
  char buffer[SCRIPT_LINE_SIZE];
  int slot = 0;
  for (; slot < SCRIPT_LINE_COUNT && pieces.ReadPiece(buffer); ++slot) {
    std::memcpy(table[slot], buffer, std::strlen(buffer) + 1);
    if (notes == nullptr) continue;
    notes->file_lines[slot] = pieces.file_line();
    const std::size_t length = pieces.piece_length();
    notes->piece_lengths[slot] = length - (length > 0 && buffer[length - 1] == '\n' ? 1 : 0);
  }
  if (notes == nullptr) return;
  notes->slot_count = slot;
  const bool past_table = slot == SCRIPT_LINE_COUNT && pieces.ReadPiece(buffer);
  AddTableFindings(shift_jis, table, past_table ? pieces.file_line() : 0, *notes);
}

namespace {

// The player may make ready for a script's sounds while the reader reads on.
void ExpectSounds(Platform& platform, const ScriptTable& table, int line_count) {
  bool sounds = false;
  for (int slot = 0; slot < line_count; ++slot) {
    const ScriptCommand command = RecogniseCommand(table[slot]);
    if (FileNamedBy(command) == CommandFile::Midi) return ExpectSound(platform, true);
    sounds = sounds || CommandSounds(command);
  }
  if (sounds) ExpectSound(platform, false);
}

}  // namespace

FileOr<std::monostate> LoadScript(Reader& r) {
  ReaderState& s = r.state;
  ShiftJis& shift_jis = r.platform.shift_jis;
  FileOr<std::unique_ptr<ByteSource>> source = r.platform.volume->Open(s.ScriptFileName);
  if (!source) return source.error();
  AuthorTextNotes encoding;
  TextFileReader file = OpenAuthorText(shift_jis, std::move(*source), &encoding);
  // A file's lines are looked at the first time it is read.
  const std::string name_utf8 = shift_jis.ToUtf8(s.ScriptFileName);
  if (!r.platform.FirstTime("script " + name_utf8)) {
    ReadScriptTable(file, s.ScriptLines, shift_jis, nullptr);
    return std::monostate();
  }
  ScriptTableNotes notes;
  ReadScriptTable(file, s.ScriptLines, shift_jis, &notes);
  ExpectSounds(r.platform, s.ScriptLines, notes.slot_count);
  for (const UnconvertedCharacter& character : encoding.unconverted) {
    WarnAt(r, name_utf8 + ":" + std::to_string(character.line),
           UnconvertedProblem(character).message);
  }
  for (const ScriptFinding& finding : notes.findings) {
    if (finding.problem.severity != Severity::Error) continue;
    WarnAt(r, name_utf8 + ":" + std::to_string(finding.file_line), finding.problem.message);
  }
  return std::monostate();
}
