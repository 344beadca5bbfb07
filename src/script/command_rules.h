// The shape of each command's line as the interpreter reads it, and the small text
// helpers that the rules of a line share.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "script/line_rules.h"

class ShiftJis;

inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }
inline bool IsLineEnd(char c) { return c == '\0' || c == '\n'; }

// The bytes of a line up to its line feed or terminator.
std::size_t LineLength(const char* line);
// True when nothing but blanks stands from column on (or the line ends before it).
bool OnlyBlanksFrom(const char* line, std::size_t column);

inline LineProblem LineError(std::string message) { return {Severity::Error, std::move(message)}; }
inline LineProblem LineWarning(std::string message) {
  return {Severity::Warning, std::move(message)};
}

// The problems of a line's command, or of its text when it is a paragraph.
void AddCommandProblems(ShiftJis& shift_jis, const char* line, std::vector<LineProblem>& problems);
