// The scene of a replayed page: pictures, hatches and MIDI music of the lines in
// front of it, applied again without text, presents or sound effects.
#include "script/page_scene.h"

#include <cstring>
#include <memory>
#include <utility>

#include "reader/line_arguments.h"
#include "reader/reader.h"
#include "render/effects.h"
#include "render/pictures.h"
#include "script/line_table.h"
#include "script/script_commands.h"
#include "sound/music.h"

namespace {

// A picture that covers the whole page, and the line that loads it.
struct CoveringPicture {
  int line = 0;
  std::unique_ptr<Bitmap> picture;
};

// What a line in front of the page leaves of the scene: the page's background, the
// MIDI music that plays, or nothing that a replay repeats (text, sounds and effects
// are not replayed; a "CD" line with track 0 closes the MIDI music).
enum class SceneEffect { None, Picture, Hatch, StartsMidi, StopsMidi };

SceneEffect SceneEffectOf(const char* line) {
  switch (RecogniseCommand(line)) {
    case ScriptCommand::Picture: return SceneEffect::Picture;
    case ScriptCommand::Hatch: return SceneEffect::Hatch;
    case ScriptCommand::Midi: return SceneEffect::StartsMidi;
    case ScriptCommand::Cd:
      return ReadNumber(line, CD_TRACK_COLUMNS) == 0 ? SceneEffect::StopsMidi : SceneEffect::None;
    case ScriptCommand::See:
    case ScriptCommand::Quake:
    case ScriptCommand::ListEnd:
    case ScriptCommand::FileSwitch:
    case ScriptCommand::Wave:
    case ScriptCommand::Brightness:
    case ScriptCommand::Choices:
    case ScriptCommand::PageClear:
    case ScriptCommand::FontSize:
    case ScriptCommand::Title:
    case ScriptCommand::End:
    case ScriptCommand::FadeOn:
    case ScriptCommand::FadeOff:
    case ScriptCommand::BlankLine:
    case ScriptCommand::Text: return SceneEffect::None;
  }
  return SceneEffect::None;
}

// The last "BMP" line in front of end whose picture covers the page: nothing that
// the lines before it did to the background shows afterwards, so they are not applied.
CoveringPicture LastCoveringPicture(Reader& r, int end) {
  const ReaderState& s = r.state;
  for (int line = end - 1; line >= 0; --line) {
    if (SceneEffectOf(s.ScriptLines[line]) != SceneEffect::Picture) continue;
    std::unique_ptr<Bitmap> picture = LoadLinePicture(r, s.ScriptLines[line]);
    if (picture && CoversPage(*picture)) return {line, std::move(picture)};
  }
  return {};
}

// In file order from the covering picture on; a hatch darkens what the page half
// holds at that point, as it did in the run.
void RestoreBackground(Reader& r, int end) {
  ReaderState& s = r.state;
  CoveringPicture covering = LastCoveringPicture(r, end);
  int line = 0;
  if (covering.picture) {
    ShowPicture(s, std::move(covering.picture));
    line = covering.line + 1;
  }
  for (; line < end; ++line) {
    const char* text = s.ScriptLines[line];
    const SceneEffect effect = SceneEffectOf(text);
    if (effect == SceneEffect::Picture) ShowPicture(s, LoadLinePicture(r, text));
    if (effect == SceneEffect::Hatch) CmdHatch(r);
  }
}

// The last "MID" line in front of end, or -1: none, or one whose music a later "CD"
// line with track 0 closed, so that the page was read without it.
int PlayingMidiLine(const ReaderState& s, int end) {
  int playing = -1;
  for (int line = 0; line < end; ++line) {
    const SceneEffect effect = SceneEffectOf(s.ScriptLines[line]);
    if (effect == SceneEffect::StartsMidi) playing = line;
    if (effect == SceneEffect::StopsMidi) playing = -1;
  }
  return playing;
}

}  // namespace

void RestorePageScene(Reader& r, Window& window, int first_line) {
  ReaderState& s = r.state;
  const int end = LineInTable(first_line) ? first_line : 0;
  const int current_line = s.CurrentLine;
  RestoreBackground(r, end);
  const int midi_line = PlayingMidiLine(s, end);
  if (midi_line >= 0) {
    s.CurrentLine = midi_line;
    CmdMidi(r, window);
  }
  s.CurrentLine = current_line;
}
