// What a step of the interpreter does at a line before the line's own command runs:
// the tests of the script format in their binding order. The interpreter follows
// them, and so do the checker's runs, so the two never part.
#pragma once

#include "script/line_rules.h"

enum class StepRule {
  Restart,         // "SEE": the same file again from line 0
  Shake,           // "Q": it runs right behind a paragraph, before the pause
  Pause,           // a ">" line, or the pause that a paragraph left, takes effect here
  SwitchFile,      // "FI"
  EndOfTable,      // past the table, or at its last line: read as the end
  RestartAtBrace,  // the next line begins with "}": the file again from line 0
  RunCommand,      // the line's own command, and on to the next line
};

// The rule at slot of lines; wait_pending: a paragraph before it waits for a click.
StepRule StepRuleAt(const ScriptTable& lines, int slot, bool wait_pending);
