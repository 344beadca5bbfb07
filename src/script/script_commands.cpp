// The command table of the script format, in its binding order: "CD" before "C",
// "FI" and "FC" before "F", "MID" before "M".
#include "script/script_commands.h"

#include <array>

#include "reader/line_arguments.h"

namespace {

struct CommandEntry {
  ScriptCommand command;
  const char* word;
  const char* description;
  bool names_quoted_file = false;  // a picture's, a sound's or MIDI music's name follows
};

constexpr std::array<CommandEntry, 17> COMMANDS = {{
    {ScriptCommand::See, "SEE", "a restart of the file (\"SEE\")"},
    {ScriptCommand::Quake, "Q", "a shake (\"Q\")"},
    {ScriptCommand::ListEnd, ">", "the end of a choice list (\">\")"},
    {ScriptCommand::FileSwitch, "FI", "a switch of script file (\"FI\")"},
    {ScriptCommand::Cd, "CD", "CD music (\"CD\")"},
    {ScriptCommand::Wave, "WAV", "a sound (\"WAV\")", true},
    {ScriptCommand::Midi, "MID", "MIDI music (\"MID\")", true},
    {ScriptCommand::Picture, "BMP", "a picture (\"BMP\")", true},
    {ScriptCommand::Brightness, "FC", "a brightness (\"FC\")"},
    {ScriptCommand::Choices, "SET", "a choice list (\"SET\")"},
    {ScriptCommand::Hatch, "BO", "the hatch (\"BO\")"},
    {ScriptCommand::PageClear, "C", "a page clear (\"C\")"},
    {ScriptCommand::FontSize, "F", "a font size (\"F\")"},
    {ScriptCommand::Title, "T", "a chapter title (\"T\")"},
    {ScriptCommand::End, "E", "the end of the script (\"E\")"},
    {ScriptCommand::FadeOn, "M", "fading on (\"M\")"},
    {ScriptCommand::FadeOff, "/", "fading off (\"/\")"},
}};
static_assert(COMMANDS.size() == static_cast<std::size_t>(ScriptCommand::BlankLine),
              "every command with letters has its row, and only those");

}  // namespace

ScriptCommand RecogniseCommand(const char* line) {
  for (const CommandEntry& entry : COMMANDS) {
    if (LineBegins(line, entry.word)) return entry.command;
  }
  return line[0] == '\n' ? ScriptCommand::BlankLine : ScriptCommand::Text;
}

const char* CommandWord(ScriptCommand command) {
  for (const CommandEntry& entry : COMMANDS) {
    if (entry.command == command) return entry.word;
  }
  return "";
}

bool CommandNamesQuotedFile(ScriptCommand command) {
  for (const CommandEntry& entry : COMMANDS) {
    if (entry.command == command) return entry.names_quoted_file;
  }
  return false;
}

const char* CommandDescription(ScriptCommand command) {
  for (const CommandEntry& entry : COMMANDS) {
    if (entry.command == command) return entry.description;
  }
  return command == ScriptCommand::BlankLine ? "a blank line" : "a paragraph";
}
