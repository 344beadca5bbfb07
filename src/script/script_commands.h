// The commands of the script format and the order in which a line is tested
// against them: the first test that matches decides.
#pragma once

// The commands with letters come first, in the order of COMMANDS; blank and text
// lines last. A new command is an enumerator, a row of COMMANDS, and a case in each
// switch over the commands that the compiler then names.
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

// The command that a line is by its first bytes alone. The pause after a paragraph
// and the "}" rule, which depend on the run, are the interpreter's own tests.
ScriptCommand RecogniseCommand(const char* line);

// The command's letters as a line begins with them ("SEE", "Q"); "" for blank and
// text lines.
const char* CommandWord(ScriptCommand command);
// True for the commands whose line goes on with a quoted file name ("BMP \"x.bmp\"").
bool CommandNamesQuotedFile(ScriptCommand command);
// What the command does, for messages to authors: "a page clear (\"C\")".
const char* CommandDescription(ScriptCommand command);
