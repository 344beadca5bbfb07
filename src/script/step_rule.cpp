// The tests that come before a line's own command.
#include "script/step_rule.h"

#include "script/line_table.h"
#include "script/script_commands.h"

StepRule StepRuleAt(const ScriptTable& lines, int slot, bool wait_pending) {
  if (!LineInTable(slot)) return StepRule::EndOfTable;
  const StepRule own = CommandStepRule(RecogniseCommand(lines[slot]));
  // A restart and a shake run right behind a paragraph; the other rules wait for its click.
  if (own == StepRule::Restart || own == StepRule::Shake) return own;
  if (wait_pending) return StepRule::Pause;
  if (own != StepRule::RunCommand) return own;
  if (!LineInTable(slot + 1)) return StepRule::EndOfTable;
  if (lines[slot + 1][0] == '}') return StepRule::RestartAtBrace;
  return StepRule::RunCommand;
}
