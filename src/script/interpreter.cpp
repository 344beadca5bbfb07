// The interpreter and the script format's control commands.
#include "script/interpreter.h"

#include <cstring>

#include "reader/line_arguments.h"
#include "reader/reader.h"
#include "reader/reading_warnings.h"
#include "reader/text_fields.h"
#include "render/effects.h"
#include "render/pictures.h"
#include "render/status_strip.h"
#include "render/surfaces.h"
#include "script/choices.h"
#include "script/line_table.h"
#include "script/read_ahead.h"
#include "script/script_commands.h"
#include "script/step_rule.h"
#include "script/text_layout.h"
#include "sound/music.h"

namespace {

enum class Next { Advance, Stop };

// A file that switches to itself at its first line would otherwise never stop.
constexpr int FILE_SWITCHES_PER_STEP = 64;
// The blocking work of one step (shakes, the waits after music commands, fades,
// file switches) that a step may do: past it the step stops as at a ">" line and
// the next click goes on. A script of 698 shakes and a switch to itself would
// otherwise hold the window for hours; a step of a real novel blocks for a few
// seconds at most.
constexpr std::uint64_t STEP_BLOCKING_BUDGET_MS = 10000;

// How long the step has run, and whether the reader must stop doing more.
class StepBudget {
 public:
  explicit StepBudget(Platform& platform) : platform_(platform), started_ms_(platform.NowMs()) {}
  bool Spent() const {
    return platform_.NowMs() - started_ms_ >= STEP_BLOCKING_BUDGET_MS || CloseRequested(platform_);
  }
  int file_switches = 0;

 private:
  Platform& platform_;
  std::uint64_t started_ms_;
};

// "SEE" and the "}" rule: the same file again from line 0, the page as it is.
Next RestartFile(Reader& r) {
  ReaderState& s = r.state;
  PresentPage(r, s.WindowDC);
  s.CurrentLine = 0;
  s.ChoiceBlockIndex = 0;
  (void)LoadScript(r);  // the file just read; when it is gone the table stays
  return Next::Stop;
}

Next PauseHere(Reader& r) {
  PresentPage(r, r.state.WindowDC);
  r.state.WaitPending = 0;
  return Next::Stop;
}

// "E", and the end of the line table, which is read as one.
Next EndScript(Reader& r, Window& window) {
  r.state.Mode = ModeFinished;
  KillTimer(window, TIMER_SKIP);
  ClearStatusStrip(r, window);
  return Next::Stop;
}

void SwitchScriptFile(Reader& r) {
  ReaderState& s = r.state;
  const char* line = s.ScriptLines[s.CurrentLine];
  const std::string location = CurrentLineLocation(r);
  // The column before the name is skipped whatever it holds.
  if (line[SCRIPT_NAME_COLUMN - 1] == '\0') {
    s.ScriptFileName[0] = '\0';
  } else {
    CopyRestOfLine(s.ScriptFileName, line + SCRIPT_NAME_COLUMN);
  }
  s.PageNumber = 0;
  ResetScript(r);
  if (const FileOr<std::monostate> loaded = LoadScript(r); !loaded) {
    WarnScriptNotOpened(r, location, loaded.error());
  }
  s.WaitPending = 0;
}

Next Advance(ReaderState& s) {
  s.CurrentLine += 1;
  return Next::Advance;
}

// The commands that run and advance: everything after the tests that can stop a run.
Next RunCommand(Reader& r, Window& window, ScriptCommand command) {
  ReaderState& s = r.state;
  switch (command) {
    case ScriptCommand::Cd: CmdCd(r, window); break;
    case ScriptCommand::Wave: CmdWave(r); break;
    case ScriptCommand::Midi: CmdMidi(r, window); break;
    case ScriptCommand::Picture: CmdPicture(r); break;
    case ScriptCommand::Brightness: CmdBrightness(r); break;
    case ScriptCommand::Choices:
      s.Mode = ModeChoosing;
      ShowChoices(r);
      return Next::Stop;
    case ScriptCommand::Hatch: CmdHatch(r); break;
    case ScriptCommand::PageClear: PutTextLine(r, 0); break;
    case ScriptCommand::FontSize: CmdFontSize(r); break;
    case ScriptCommand::Title: CmdTitle(r, window); break;
    case ScriptCommand::End: return EndScript(r, window);
    case ScriptCommand::FadeOn: s.FadeMode = 1; break;
    case ScriptCommand::FadeOff: s.FadeMode = 0; break;
    case ScriptCommand::BlankLine: PutTextLine(r, 0); break;  // one empty row, no pause
    case ScriptCommand::Text:
      PutTextLine(r, s.FadeMode);
      s.WaitPending = 1;
      break;
    case ScriptCommand::See:
    case ScriptCommand::Quake:
    case ScriptCommand::ListEnd:
    case ScriptCommand::FileSwitch: break;  // the step's own rules took them
  }
  return Advance(s);
}

// Tests the line at CurrentLine in the binding order of the script format: "SEE"
// and "Q" come before the pause, so they run right behind a paragraph.
Next Step(Reader& r, Window& window, StepBudget& budget) {
  ReaderState& s = r.state;
  if (LineInTable(s.CurrentLine) && budget.Spent()) return PauseHere(r);
  switch (StepRuleAt(s.ScriptLines, s.CurrentLine, s.WaitPending == 1)) {
    case StepRule::Restart:
    case StepRule::RestartAtBrace: return RestartFile(r);
    case StepRule::Shake: CmdQuake(r, window); return Advance(s);
    case StepRule::Pause: return PauseHere(r);
    case StepRule::SwitchFile:
      if (++budget.file_switches > FILE_SWITCHES_PER_STEP) return PauseHere(r);
      SwitchScriptFile(r);
      return Next::Advance;
    case StepRule::EndOfTable: return EndScript(r, window);
    case StepRule::RunCommand:
      return RunCommand(r, window, RecogniseCommand(s.ScriptLines[s.CurrentLine]));
  }
  return Next::Stop;
}

}  // namespace

void RunScript(Reader& r, Window& window) {
  ReaderState& s = r.state;
  s.Mode = ModeReady;
  s.WindowDC = GetDC(window);
  StepBudget budget(r.platform);
  while (Step(r, window, budget) == Next::Advance) {
  }
  ReleaseDC(window, s.WindowDC);
  s.WindowDC = nullptr;
  if (s.Mode == ModeReady) ReadAheadForNextClick(r);
}
