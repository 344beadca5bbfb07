// The commands of the script format and the order in which a line is tested
// against them: the first test that matches decides.
#pragma once

#include <cstddef>

enum class StepRule;

// The commands with letters first, in their binding order, which is the order of the
// rows of COMMANDS (row i holds command i); blank and text lines last. A new command
// is an enumerator and its row; the compiler then names every other place: the
// checks on COMMANDS and each switch over the commands.
enum class ScriptCommand {
  See,
  Quake,
  ListEnd,
  FileSwitch,
  Cd,
  Wave,
  Midi,
  Picture,
  Brightness,
  Choices,
  Hatch,
  PageClear,
  FontSize,
  Title,
  End,
  FadeOn,
  FadeOff,
  BlankLine,
  Text,
};

// What the rest of a command's line names: a file of some kind, a CD track, or nothing.
enum class CommandFile { None, Script, Picture, Sound, Midi, CdTrack };

// The command that a line is by its first bytes alone. The pause after a paragraph
// and the "}" rule, which depend on the run, are the interpreter's own tests.
ScriptCommand RecogniseCommand(const char* line);

// The command's letters as a line begins with them ("SEE", "Q"); "" for blank and
// text lines.
const char* CommandWord(ScriptCommand command);
// What the command does, for messages to authors: "a page clear (\"C\")".
const char* CommandDescription(ScriptCommand command);
// What the rest of the command's line names.
CommandFile FileNamedBy(ScriptCommand command);
// The buffer that the reader reads the named file's name into, terminator included;
// 0 for the commands that name no file.
std::size_t CommandNameSize(ScriptCommand command);
// True for the commands whose line goes on with a quoted file name ("BMP \"x.bmp\"").
bool CommandNamesQuotedFile(ScriptCommand command);
// True for the commands that make something sound: a sound, MIDI music or a CD track.
bool CommandSounds(ScriptCommand command);
// The rule that a step takes at the command's line before any command runs
// (StepRule::RunCommand when the command has no rule of its own).
StepRule CommandStepRule(ScriptCommand command);
// True for the command that clears the page, where a new page begins.
bool CommandClearsPage(ScriptCommand command);
// True for the command at which a run of the script ends.
bool CommandEndsRun(ScriptCommand command);
