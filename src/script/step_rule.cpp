// The tests that come before a line's own command.
#include "script/step_rule.h"

#include "script/line_table.h"
#include "script/script_commands.h"

StepRule StepRuleAt(const ScriptTable& lines, int slot, bool wait_pending) {
  if (!LineInTable(slot)) return StepRule::EndOfTable;
  const ScriptCommand command = RecogniseCommand(lines[slot]);
  if (command == ScriptCommand::See) return StepRule::Restart;
  if (command == ScriptCommand::Quake) return StepRule::Shake;
  if (command == ScriptCommand::ListEnd || wait_pending) return StepRule::Pause;
  if (command == ScriptCommand::FileSwitch) return StepRule::SwitchFile;
  if (!LineInTable(slot + 1)) return StepRule::EndOfTable;
  if (lines[slot + 1][0] == '}') return StepRule::RestartAtBrace;
  return StepRule::RunCommand;
}
