// The next click's picture, made ready while the reader waits.
#include "script/read_ahead.h"

#include "reader/line_arguments.h"
#include "reader/named_files.h"
#include "reader/reader.h"
#include "render/pictures.h"
#include "script/script_commands.h"
#include "script/step_rule.h"

namespace {

// From where the reader now waits: it may have moved since the work was put off.
void MakeNextClickPictureReady(Reader& r) {
  ReaderState& s = r.state;
  const bool waits_for_click = s.Mode == ModeReady || s.Mode == ModeCooldown;
  const std::optional<int> slot =
      waits_for_click && s.PageSurface
          ? NextClickPictureSlot(s.ScriptLines, s.CurrentLine, s.WaitPending == 1)
          : std::nullopt;
  char name_sjis[PICTURE_NAME_SIZE] = {};
  if (slot && RecogniseCommand(s.ScriptLines[*slot]) == ScriptCommand::Hatch) {
    s.NextPicture = {};
    TakeBackPicture(s);
  } else if (slot && QuotedName(s.ScriptLines[*slot], name_sjis, sizeof name_sjis)) {
    ReadPictureAhead(r, name_sjis);
  } else {
    s.NextPicture = {};
  }
}

}  // namespace

std::optional<int> NextClickPictureSlot(const ScriptTable& lines, int from, bool wait_pending) {
  for (int slot = from;; ++slot) {
    const StepRule rule = StepRuleAt(lines, slot, wait_pending);
    if (rule == StepRule::Shake) continue;
    if (rule != StepRule::RunCommand) return std::nullopt;
    switch (RecogniseCommand(lines[slot])) {
      case ScriptCommand::Picture:
      case ScriptCommand::Hatch: return slot;
      case ScriptCommand::Text: wait_pending = true; break;
      case ScriptCommand::Choices:
      case ScriptCommand::End: return std::nullopt;
      // Every other command leaves the page's picture as it is: the look goes on.
      case ScriptCommand::See:
      case ScriptCommand::Quake:
      case ScriptCommand::ListEnd:
      case ScriptCommand::FileSwitch:
      case ScriptCommand::Cd:
      case ScriptCommand::Wave:
      case ScriptCommand::Midi:
      case ScriptCommand::Brightness:
      case ScriptCommand::PageClear:
      case ScriptCommand::FontSize:
      case ScriptCommand::Title:
      case ScriptCommand::FadeOn:
      case ScriptCommand::FadeOff:
      case ScriptCommand::BlankLine: break;
    }
  }
}

void ReadAheadForNextClick(Reader& r) {
  r.platform.queue.PutOffForPage([&r] { MakeNextClickPictureReady(r); });
}
