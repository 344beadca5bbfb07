// What the reader makes of a script line where that differs from how the line
// looks: text taken as a command, numbers outside the columns that a command reads,
// names that do not fit, bytes that are no Shift-JIS. The reader's warnings and
// "yomu check" say the same things in the same words.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "reader/reader_state.h"

class ShiftJis;
struct UnconvertedCharacter;

enum class Severity { Error, Warning };

struct LineProblem {
  Severity severity = Severity::Error;
  std::string message;  // UTF-8
};

// A problem at a line of a file, counted from 1 as the file has it.
struct ScriptFinding {
  int file_line = 0;
  LineProblem problem;
};

// The first bytes of a line that are no Shift-JIS character, or a lone carriage return.
std::optional<LineProblem> LineBytesProblem(ShiftJis& shift_jis, const char* line);
// The problems of one line of the table, taken as the interpreter takes it.
std::vector<LineProblem> LineProblems(ShiftJis& shift_jis, const char* line);

// What reading a script into the line table found beside the lines themselves.
struct ScriptTableNotes {
  int slot_count = 0;                               // the slots that the file filled
  std::array<int, SCRIPT_LINE_COUNT> file_lines{};  // the file line of each slot
  // The bytes that each slot took from its file line, NUL bytes counted, its line
  // feed not.
  std::array<std::size_t, SCRIPT_LINE_COUNT> piece_lengths{};
  std::vector<ScriptFinding> findings;
};

// The problems of a table just read: each line's own, the file lines cut at 255 bytes,
// and, when past_table_line is not 0, the file line from which nothing was read.
void AddTableFindings(ShiftJis& shift_jis, const ScriptTable& table, int past_table_line,
                      ScriptTableNotes& notes);

// A character of a UTF-8 file that Shift-JIS lacks, or bytes in it that are no UTF-8.
LineProblem UnconvertedProblem(const UnconvertedCharacter& character);

// Shift-JIS bytes in double quotes, as UTF-8 for messages, up to the line feed and
// cut with "…" after about max_bytes.
std::string Excerpt(ShiftJis& shift_jis, const char* bytes, std::size_t max_bytes = 24);
