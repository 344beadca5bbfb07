// The rules of one script line and of a script's lines as the table holds them: the
// bytes as the page would show them, lines cut at 255 bytes, lines past the table.
#include "script/line_rules.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "platform/shift_jis.h"
#include "platform/utf8_text.h"
#include "script/command_rules.h"
#include "script/script_commands.h"

namespace {

constexpr char32_t REPLACEMENT = 0xFFFD;

std::string Hex(unsigned char byte) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", byte);
  return text;
}

LineProblem UnknownBytesProblem(const char* line, std::size_t column, bool pair) {
  const auto byte = static_cast<unsigned char>(line[column]);
  const auto trail = static_cast<unsigned char>(line[column + 1]);
  const std::string at = " at column " + std::to_string(column);
  std::string message = pair && !IsLineEnd(static_cast<char>(trail))
                            ? "bytes " + Hex(byte) + " " + Hex(trail) + at + " are"
                            : "byte " + Hex(byte) + at + " is";
  message += " not a Shift-JIS character";
  if (IsUtf8Text(line)) {
    message +=
        "; the line looks like UTF-8, but the file as a whole is not, so it is read as "
        "Shift-JIS";
  }
  return LineError(message);
}

// Bytes of a UTF-8 file that begin no character, or a character cut short.
LineProblem IllFormedProblem(const UnconvertedCharacter& character) {
  const bool one = character.ill_formed.size() == 1;
  std::string bytes;
  for (char byte : character.ill_formed) {
    bytes += (bytes.empty() ? "" : " ") + Hex(static_cast<unsigned char>(byte));
  }
  return LineError((one ? "byte " : "bytes ") + bytes + " at column " +
                   std::to_string(character.column) + (one ? " is" : " are") +
                   " not a UTF-8 character: the reader shows \xE3\x80\x93 in " +
                   (one ? "its" : "their") + " place");
}

// A file line cut at the table's limit: its rest is a line of its own.
LineProblem CutLineProblem(ShiftJis& shift_jis, std::size_t line_length, std::size_t kept,
                           const char* rest) {
  const ScriptCommand command = RecogniseCommand(rest);
  const std::string reading =
      command == ScriptCommand::Text ? "a paragraph of its own" : CommandDescription(command);
  return LineError("the line is " + std::to_string(line_length) +
                   " bytes: the reader cuts it after byte " + std::to_string(kept) +
                   ", and reads the rest, " + Excerpt(shift_jis, rest) + ", as " + reading);
}

}  // namespace

std::size_t LineLength(const char* line) {
  std::size_t length = 0;
  while (!IsLineEnd(line[length])) ++length;
  return length;
}

bool OnlyBlanksFrom(const char* line, std::size_t column) {
  for (std::size_t i = 0; i < column; ++i) {
    if (line[i] == '\0') return true;
  }
  for (const char* p = line + column; !IsLineEnd(*p); ++p) {
    if (!IsBlank(*p)) return false;
  }
  return true;
}

std::optional<LineProblem> LineBytesProblem(ShiftJis& shift_jis, const char* line) {
  // With its NUL: a lead byte last in the line pairs with it, as no character.
  const std::string_view bytes(line, std::strlen(line) + 1);
  for (std::size_t i = 0; line[i] != '\0';) {
    const auto byte = static_cast<unsigned char>(line[i]);
    if (byte == '\r') {
      return LineError("carriage return at column " + std::to_string(i) +
                       " without its line feed: the reader keeps it as a byte of the line and does "
                       "not end the line there");
    }
    const std::size_t length = ShiftJisCharacterLength(bytes, i);
    const bool pair = length == 2;
    const bool known =
        pair ? shift_jis.Decode(byte, static_cast<unsigned char>(line[i + 1])) != REPLACEMENT
             : shift_jis.DecodeSingle(byte) != REPLACEMENT;
    if (!known) return UnknownBytesProblem(line, i, pair);
    i += length;
  }
  return std::nullopt;
}

std::vector<LineProblem> LineProblems(ShiftJis& shift_jis, const char* line) {
  std::vector<LineProblem> problems;
  if (auto problem = LineBytesProblem(shift_jis, line)) problems.push_back(*problem);
  AddCommandProblems(shift_jis, line, problems);
  return problems;
}

void AddTableFindings(ShiftJis& shift_jis, const ScriptTable& table, int past_table_line,
                      ScriptTableNotes& notes) {
  for (int slot = 0; slot < notes.slot_count; ++slot) {
    const int file_line = notes.file_lines[slot];
    const bool continues = slot > 0 && notes.file_lines[slot - 1] == file_line;
    if (!continues && slot + 1 < notes.slot_count && notes.file_lines[slot + 1] == file_line) {
      // Lengths as read, not as the C strings end: a NUL is a byte of the line too.
      std::size_t length = 0;
      for (int k = slot; k < notes.slot_count && notes.file_lines[k] == file_line; ++k) {
        length += notes.piece_lengths[static_cast<std::size_t>(k)];
      }
      notes.findings.push_back(
          {file_line, CutLineProblem(shift_jis, length,
                                     notes.piece_lengths[static_cast<std::size_t>(slot)],
                                     table[slot + 1])});
    }
    // The rest of a cut line is told of with its cut; only its bytes are looked at.
    std::vector<LineProblem> problems;
    if (continues) {
      if (auto problem = LineBytesProblem(shift_jis, table[slot])) problems.push_back(*problem);
    } else {
      problems = LineProblems(shift_jis, table[slot]);
    }
    for (LineProblem& problem : problems) notes.findings.push_back({file_line, std::move(problem)});
  }
  if (past_table_line > 0) {
    notes.findings.push_back(
        {past_table_line,
         LineError("the reader keeps the first " + std::to_string(SCRIPT_LINE_COUNT) +
                   " lines of a script: from here on nothing is read")});
  }
}

LineProblem UnconvertedProblem(const UnconvertedCharacter& character) {
  if (!character.ill_formed.empty()) return IllFormedProblem(character);
  std::string text;
  AppendUtf8(text, character.code);
  char number[16];
  std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(character.code));
  return LineError("character \"" + text + "\" (" + number +
                   ") has no Shift-JIS form: the reader shows \xE3\x80\x93 in its place");
}

std::string Excerpt(ShiftJis& shift_jis, const char* bytes, std::size_t max_bytes) {
  const std::string_view line(bytes, LineLength(bytes));
  std::size_t length = 0;
  while (length < line.size() && length < max_bytes)
    length += ShiftJisCharacterLength(line, length);
  const bool cut = length < line.size();
  return "\"" + shift_jis.ToUtf8(line.substr(0, length)) + (cut ? "\xE2\x80\xA6\"" : "\"");
}
