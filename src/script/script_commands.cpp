// The command table of the script format, in its binding order: "CD" before "C",
// "FI" and "FC" before "F", "MID" before "M".
#include "script/script_commands.h"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

#include "reader/line_arguments.h"
#include "reader/named_files.h"
#include "script/step_rule.h"

namespace {

// What the other parts of the reader ask of a command beyond its letters; most
// commands keep every default.
struct CommandTraits {
  CommandFile file = CommandFile::None;
  std::size_t name_size = 0;             // the name's buffer, when the line names a file
  StepRule step = StepRule::RunCommand;  // a rule of its own that a step takes first
  bool clears_page = false;
  bool ends_run = false;
};

struct CommandEntry {
  ScriptCommand command;
  const char* word;
  const char* description;
  CommandTraits traits = {};
};

constexpr auto COMMANDS = std::to_array<CommandEntry>({
    {ScriptCommand::See, "SEE", "a restart of the file (\"SEE\")", {.step = StepRule::Restart}},
    {ScriptCommand::Quake, "Q", "a shake (\"Q\")", {.step = StepRule::Shake}},
    {ScriptCommand::ListEnd, ">", "the end of a choice list (\">\")", {.step = StepRule::Pause}},
    {ScriptCommand::FileSwitch,
     "FI",
     "a switch of script file (\"FI\")",
     {.file = CommandFile::Script, .name_size = SCRIPT_NAME_SIZE, .step = StepRule::SwitchFile}},
    {ScriptCommand::Cd, "CD", "CD music (\"CD\")", {.file = CommandFile::CdTrack}},
    {ScriptCommand::Wave,
     "WAV",
     "a sound (\"WAV\")",
     {.file = CommandFile::Sound, .name_size = WAVE_NAME_SIZE}},
    {ScriptCommand::Midi,
     "MID",
     "MIDI music (\"MID\")",
     {.file = CommandFile::Midi, .name_size = MIDI_NAME_SIZE}},
    {ScriptCommand::Picture,
     "BMP",
     "a picture (\"BMP\")",
     {.file = CommandFile::Picture, .name_size = PICTURE_NAME_SIZE}},
    {ScriptCommand::Brightness, "FC", "a brightness (\"FC\")"},
    {ScriptCommand::Choices, "SET", "a choice list (\"SET\")"},
    {ScriptCommand::Hatch, "BO", "the hatch (\"BO\")"},
    {ScriptCommand::PageClear, "C", "a page clear (\"C\")", {.clears_page = true}},
    {ScriptCommand::FontSize, "F", "a font size (\"F\")"},
    {ScriptCommand::Title, "T", "a chapter title (\"T\")"},
    {ScriptCommand::End, "E", "the end of the script (\"E\")", {.ends_run = true}},
    {ScriptCommand::FadeOn, "M", "fading on (\"M\")"},
    {ScriptCommand::FadeOff, "/", "fading off (\"/\")"},
    // Lines without letters: tested after every word, and by what they hold.
    {ScriptCommand::BlankLine, "", "a blank line"},
    {ScriptCommand::Text, "", "a paragraph"},
});

// The rows that a line's first bytes are tested against, in turn.
constexpr std::span<const CommandEntry> WORD_ROWS =
    std::span(COMMANDS).first(static_cast<std::size_t>(ScriptCommand::BlankLine));

// Row i holds command i, so that a command's row is found at once: no command is
// listed twice, none is missing, and the enumerators keep the binding order.
constexpr bool EachCommandInItsRow() {
  for (std::size_t row = 0; row < COMMANDS.size(); ++row) {
    if (COMMANDS[row].command != static_cast<ScriptCommand>(row)) return false;
  }
  return true;
}

// A word that begins with a word bound before it could never be recognised: "C"
// before "CD" would take every "CD" line. An empty word would take every line.
constexpr bool EveryWordReachable() {
  for (std::size_t row = 0; row < WORD_ROWS.size(); ++row) {
    const std::string_view word = WORD_ROWS[row].word;
    const auto begins_word = [word](const CommandEntry& before) {
      return word.starts_with(before.word);
    };
    if (word.empty() || std::ranges::any_of(WORD_ROWS.first(row), begins_word)) return false;
  }
  return true;
}

static_assert(COMMANDS.size() == static_cast<std::size_t>(ScriptCommand::Text) + 1,
              "every command has one row");
static_assert(EachCommandInItsRow(), "row i of COMMANDS holds command i");
static_assert(EveryWordReachable(), "no word is bound after a shorter word that it begins with");

const CommandEntry& RowOf(ScriptCommand command) {
  return COMMANDS[static_cast<std::size_t>(command)];
}

}  // namespace

ScriptCommand RecogniseCommand(const char* line) {
  for (const CommandEntry& entry : WORD_ROWS) {
    if (LineBegins(line, entry.word)) return entry.command;
  }
  return line[0] == '\n' ? ScriptCommand::BlankLine : ScriptCommand::Text;
}

const char* CommandWord(ScriptCommand command) { return RowOf(command).word; }

const char* CommandDescription(ScriptCommand command) { return RowOf(command).description; }

CommandFile FileNamedBy(ScriptCommand command) { return RowOf(command).traits.file; }

std::size_t CommandNameSize(ScriptCommand command) { return RowOf(command).traits.name_size; }

bool CommandNamesQuotedFile(ScriptCommand command) {
  const CommandFile file = FileNamedBy(command);
  return file == CommandFile::Picture || file == CommandFile::Sound || file == CommandFile::Midi;
}

bool CommandSounds(ScriptCommand command) {
  const CommandFile file = FileNamedBy(command);
  return file == CommandFile::Sound || file == CommandFile::Midi || file == CommandFile::CdTrack;
}

StepRule CommandStepRule(ScriptCommand command) { return RowOf(command).traits.step; }

bool CommandClearsPage(ScriptCommand command) { return RowOf(command).traits.clears_page; }

bool CommandEndsRun(ScriptCommand command) { return RowOf(command).traits.ends_run; }
