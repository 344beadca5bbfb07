// The interpreter and the script format's control commands.
#include "script/interpreter.h"

#include <cstring>

#include "reader/reader.h"
#include "reader/reading_warnings.h"
#include "reader/text_fields.h"
#include "render/effects.h"
#include "render/pictures.h"
#include "render/status_strip.h"
#include "render/surfaces.h"
#include "script/choices.h"
#include "script/line_table.h"
#include "script/script_commands.h"
#include "script/text_layout.h"
#include "sound/music.h"

namespace {

enum class Next { Advance, Stop };

// A file that switches to itself at its first line would otherwise never stop.
constexpr int FILE_SWITCHES_PER_STEP = 64;

// "SEE" and the "}" rule: the same file again from line 0, the page as it is.
Next RestartFile(Reader& r) {
  ReaderState& s = r.state;
  PresentPage(r, s.WindowDC);
  s.CurrentLine = 0;
  s.ChoiceBlockIndex = 0;
  LoadScript(r);
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
  // Column 2 is skipped whatever it holds.
  if (line[2] == '\0') {
    s.ScriptFileName[0] = '\0';
  } else {
    CopyRestOfLine(s.ScriptFileName, line + 3);
  }
  s.PageNumber = 0;
  ResetScript(r);
  if (!LoadScript(r)) WarnScriptNotFound(r, location);
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
    default: break;  // the commands that Step handles itself
  }
  return Advance(s);
}

// Tests the line at CurrentLine in the binding order of the script format: "SEE"
// and "Q" come before the pause, so they run right behind a paragraph.
Next Step(Reader& r, Window& window, int& file_switches) {
  ReaderState& s = r.state;
  if (!LineInTable(s.CurrentLine)) return EndScript(r, window);
  const ScriptCommand command = RecogniseCommand(s.ScriptLines[s.CurrentLine]);

  if (command == ScriptCommand::See) return RestartFile(r);
  if (command == ScriptCommand::Quake) {
    CmdQuake(r, window);
    return Advance(s);
  }
  if (command == ScriptCommand::ListEnd || s.WaitPending == 1) return PauseHere(r);
  if (command == ScriptCommand::FileSwitch) {
    if (++file_switches > FILE_SWITCHES_PER_STEP) return PauseHere(r);
    SwitchScriptFile(r);
    return Next::Advance;
  }
  if (!LineInTable(s.CurrentLine + 1)) return EndScript(r, window);
  if (s.ScriptLines[s.CurrentLine + 1][0] == '}') return RestartFile(r);
  return RunCommand(r, window, command);
}

}  // namespace

void RunScript(Reader& r, Window& window) {
  ReaderState& s = r.state;
  s.Mode = ModeReady;
  s.WindowDC = GetDC(window);
  int file_switches = 0;
  while (Step(r, window, file_switches) == Next::Advance) {
  }
  ReleaseDC(window, s.WindowDC);
  s.WindowDC = nullptr;
}
