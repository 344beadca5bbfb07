// The shape of each command's line as the interpreter reads it: letters alone,
// numbers in fixed columns, quoted names, the title and file-switch columns, and
// commands written in lower case.
#include "script/command_rules.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/shift_jis.h"
#include "reader/line_arguments.h"
#include "reader/named_files.h"
#include "reader/text_fields.h"
#include "render/surfaces.h"
#include "script/script_commands.h"

namespace {

constexpr std::size_t TITLE_KEPT = sizeof(ReaderState::ChapterTitle) - 1;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A command of its letters alone: anything but blanks after them is never shown.
std::optional<LineProblem> BareCommandProblem(ShiftJis& shift_jis, const char* line,
                                              ScriptCommand command) {
  if (OnlyBlanksFrom(line, std::strlen(CommandWord(command)))) return std::nullopt;
  return LineError(Excerpt(shift_jis, line) + " reads as " + CommandDescription(command) +
                   ": the rest of the line is ignored, and nothing of it is shown");
}

struct Token {
  int begin;
  int end;  // one past the last column
};

bool IsNumber(const char* line, const Token& token) {
  int column = token.begin;
  if (line[column] == '+' || line[column] == '-') ++column;
  if (column == token.end) return false;
  for (; column < token.end; ++column) {
    if (!IsDigit(line[column])) return false;
  }
  return true;
}

// The blank-separated words of a line from column begin up to its end or a quote.
std::vector<Token> Tokens(const char* line, int begin) {
  std::vector<Token> tokens;
  int column = begin;
  for (;;) {
    while (IsBlank(line[column])) ++column;
    if (IsLineEnd(line[column]) || line[column] == '"') return tokens;
    const int start = column;
    while (!IsBlank(line[column]) && !IsLineEnd(line[column]) && line[column] != '"') ++column;
    tokens.push_back({start, column});
  }
}

// The form in which the line says what its author wrote: each number right-aligned
// in its columns, with zeros; nothing when a number does not fit its columns.
std::optional<std::string> CanonicalForm(const char* line, ScriptCommand command,
                                         const std::vector<NumberColumns>& fields,
                                         const std::vector<Token>& tokens) {
  if (tokens.size() > fields.size()) return std::nullopt;
  std::string form = CommandWord(command);
  for (std::size_t k = 0; k < tokens.size(); ++k) {
    if (!IsNumber(line, tokens[k])) return std::nullopt;
    const NumberColumns& field = fields[k];
    const int width = field.last - field.first + 1;
    const std::int32_t value =
        ReadDecimal(std::string(line + tokens[k].begin, line + tokens[k].end).c_str());
    char digits[16];
    if (std::snprintf(digits, sizeof digits, "%0*d", width, value) > width) return std::nullopt;
    form.resize(static_cast<std::size_t>(field.first), ' ');
    form += digits;
  }
  if (const char* quote = std::strchr(line, '"')) {
    form += " " + std::string(quote, LineLength(quote));
  }
  return form;
}

// Numbers in fixed columns: what the author wrote must stand where the command reads.
std::optional<LineProblem> NumberProblem(ShiftJis& shift_jis, const char* line,
                                         ScriptCommand command,
                                         const std::vector<NumberColumns>& fields) {
  const int word = static_cast<int>(std::strlen(CommandWord(command)));
  const char next = line[word];
  if (!IsBlank(next) && !IsLineEnd(next) && !IsDigit(next) && next != '+' && next != '-' &&
      next != '"') {
    return LineError(Excerpt(shift_jis, line) + " reads as " + CommandDescription(command) +
                     ", and is not shown as text");
  }
  std::vector<Token> tokens = Tokens(line, word);
  // The words after a "MID" line's period are its name, even without quotes.
  if (command == ScriptCommand::Midi && tokens.size() > fields.size()) tokens.resize(fields.size());
  bool fits = tokens.size() <= fields.size();
  for (std::size_t k = 0; fits && k < tokens.size(); ++k) {
    fits = IsNumber(line, tokens[k]) && tokens[k].begin >= fields[k].first &&
           tokens[k].end - 1 <= fields[k].last;
  }
  if (fits) return std::nullopt;
  std::string message = Excerpt(shift_jis, line) + ": the reader reads ";
  for (std::size_t k = 0; k < fields.size(); ++k) {
    if (k > 0) message += " and ";
    message += std::string(fields[k].name) + " " + std::to_string(ReadNumber(line, fields[k])) +
               " from columns " + std::to_string(fields[k].first) + "-" +
               std::to_string(fields[k].last);
  }
  if (auto form = CanonicalForm(line, command, fields, tokens))
    message += "; write \"" + *form + "\"";
  return LineError(message);
}

std::optional<LineProblem> FontSizeValue(const char* line) {
  if (ReadNumber(line, FONT_SIZE_COLUMNS) >= 0) return std::nullopt;
  return LineError("a negative font size keeps the font as it is and breaks the page layout");
}

std::optional<LineProblem> BrightnessValue(const char* line) {
  const std::int32_t percent = ReadNumber(line, BRIGHTNESS_COLUMNS);
  if (percent >= 0 && percent <= 100) return std::nullopt;
  return LineError("brightness " + std::to_string(percent) +
                   " is outside 0-100: the grey comes out as " +
                   std::to_string(BrightnessGrey(percent) & 0xFF) + " of 255");
}

std::optional<LineProblem> CdValues(const char* line) {
  const std::int32_t track = ReadNumber(line, CD_TRACK_COLUMNS);
  if (track < 0) return LineError("a negative track number plays nothing");
  if (track == 0 || ReadNumber(line, CD_PERIOD_COLUMNS) > 0) return std::nullopt;
  return LineWarning(
      "no loop period in columns 6-9: the track plays once and runs on into the tracks "
      "after it");
}

std::optional<LineProblem> MidiValue(const char* line) {
  if (ReadNumber(line, MIDI_PERIOD_COLUMNS) > 0) return std::nullopt;
  return LineWarning("no loop period in columns 4-7: the music plays once");
}

// The commands that read numbers, their columns, and what their values may not be.
struct NumberCommand {
  ScriptCommand command;
  std::vector<NumberColumns> fields;
  std::optional<LineProblem> (*value_problem)(const char* line);
};

void AddNumberProblems(ShiftJis& shift_jis, const char* line, ScriptCommand command,
                       std::vector<LineProblem>& problems) {
  static const NumberCommand NUMBER_COMMANDS[] = {
      {ScriptCommand::FontSize, {FONT_SIZE_COLUMNS}, FontSizeValue},
      {ScriptCommand::Brightness, {BRIGHTNESS_COLUMNS}, BrightnessValue},
      {ScriptCommand::Cd, {CD_TRACK_COLUMNS, CD_PERIOD_COLUMNS}, CdValues},
      {ScriptCommand::Midi, {MIDI_PERIOD_COLUMNS}, MidiValue},
  };
  for (const NumberCommand& entry : NUMBER_COMMANDS) {
    if (entry.command != command) continue;
    std::optional<LineProblem> problem = NumberProblem(shift_jis, line, command, entry.fields);
    if (!problem) problem = entry.value_problem(line);
    if (problem) problems.push_back(*problem);
  }
}

// The file name between the first two double quotes, and the buffer it is copied to.
std::optional<LineProblem> QuotedNameProblem(ShiftJis& shift_jis, const char* line,
                                             ScriptCommand command) {
  const std::size_t size = CommandNameSize(command);
  const char* failure = CommandSounds(command)
                            ? "plays nothing"
                            : "loads no picture and copies the one before over the page again";
  const char* open = std::strchr(line, '"');
  const char* close = open != nullptr ? std::strchr(open + 1, '"') : nullptr;
  if (close == nullptr) {
    return LineError(Excerpt(shift_jis, line) +
                     " has no file name between two double quotes: the reader " + failure);
  }
  const auto length = static_cast<std::size_t>(close - open - 1);
  if (length == 0)
    return LineError(std::string("the file name between the quotes is empty: the reader ") +
                     failure);
  if (length < size) return std::nullopt;
  return LineError("the file name " +
                   Excerpt(shift_jis, std::string(open + 1, length).c_str(), 40) + " is " +
                   std::to_string(length) + " bytes: the reader takes names of at most " +
                   std::to_string(size - 1) + " bytes, and " + failure);
}

// Column 1 of a "T" line is skipped whatever it holds.
void AddTitleProblems(ShiftJis& shift_jis, const char* line, std::vector<LineProblem>& problems) {
  const char skipped = line[TITLE_COLUMN - 1];
  if (IsLineEnd(skipped)) return;
  if (IsShiftJisLeadByte(static_cast<unsigned char>(skipped))) {
    problems.push_back(
        LineError("column 1 of a \"T\" line is skipped: it holds the first byte of " +
                  Excerpt(shift_jis, line + TITLE_COLUMN - 1, 2) +
                  ", so the title begins with half a character; write \"T \" and the title"));
    return;
  }
  if (!IsBlank(skipped)) {
    problems.push_back(LineError(Excerpt(shift_jis, line) +
                                 " reads as a chapter title (\"T\"): column 1 is skipped, " +
                                 "so the title is " + Excerpt(shift_jis, line + TITLE_COLUMN) +
                                 ", and the line is not shown"));
    return;
  }
  const std::size_t title = LineLength(line + TITLE_COLUMN);
  if (title > TITLE_KEPT) {
    problems.push_back(LineWarning("the title is " + std::to_string(title) +
                                   " bytes: page labels and bookmarks keep its first " +
                                   std::to_string(TITLE_KEPT)));
  }
}

// "FI", one byte that is skipped, then the name to the end of the line.
std::optional<LineProblem> FileSwitchProblem(ShiftJis& shift_jis, const char* line) {
  const std::size_t name =
      IsLineEnd(line[SCRIPT_NAME_COLUMN - 1]) ? 0 : LineLength(line + SCRIPT_NAME_COLUMN);
  if (name == 0)
    return LineError(
        "\"FI\" names no script: the reader opens nothing and reads on into empty lines");
  if (!IsBlank(line[SCRIPT_NAME_COLUMN - 1])) {
    return LineError("column 2 of an \"FI\" line is skipped: the reader opens " +
                     Excerpt(shift_jis, line + SCRIPT_NAME_COLUMN, 60) +
                     "; write \"FI \" and the name");
  }
  if (name < SCRIPT_NAME_SIZE) return std::nullopt;
  char kept[SCRIPT_NAME_SIZE];
  CopyBytes(kept, sizeof kept, line + SCRIPT_NAME_COLUMN);
  return LineError("the script name is " + std::to_string(name) + " bytes: the reader keeps " +
                   std::to_string(SCRIPT_NAME_SIZE - 1) + " and opens " +
                   Excerpt(shift_jis, kept, SCRIPT_NAME_SIZE));
}

struct LowerCaseForm {
  const char* word;
  const char* followed_by;  // the bytes that may follow it when a command was meant
};

// A command written in lower case is a paragraph. Only forms that look like the
// command's own count: "see you" is text as meant.
std::optional<LineProblem> LowerCaseProblem(const char* line) {
  static constexpr LowerCaseForm FORMS[] = {
      {"bmp", " \t\""},
      {"wav", " \t\""},
      {"mid", " \t\"0123456789"},
      {"cd", " \t0123456789"},
      {"fc", " \t0123456789"},
      {"fi", " \t"},
      {"f", "0123456789"},
      {"set", ""},
      {"see", ""},
      {"bo", ""},
      {"c", ""},
      {"e", ""},
      {"m", ""},
      {"q", ""},
  };
  for (const LowerCaseForm& form : FORMS) {
    const std::size_t length = std::strlen(form.word);
    if (std::strncmp(line, form.word, length) != 0) continue;
    const char next = line[length];
    const bool alone = OnlyBlanksFrom(line, length);
    if (!alone && (next == '\0' || std::strchr(form.followed_by, next) == nullptr)) continue;
    std::string upper(form.word);
    for (char& c : upper) c = static_cast<char>(c - 'a' + 'A');
    return LineError("\"" + std::string(form.word) +
                     "\" is not a command: commands are upper case (\"" + upper +
                     "\"), so the line is shown as text");
  }
  return std::nullopt;
}

bool IsCapital(char c) { return c >= 'A' && c <= 'Z'; }

// Letters changed, added, dropped, or two neighbours swapped: how far a typing slip
// takes one word to another (optimal string alignment).
std::size_t EditDistance(std::string_view from, std::string_view to) {
  std::vector<std::vector<std::size_t>> d(from.size() + 1, std::vector<std::size_t>(to.size() + 1));
  for (std::size_t i = 0; i <= from.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= to.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= from.size(); ++i) {
    for (std::size_t j = 1; j <= to.size(); ++j) {
      const std::size_t changed = from[i - 1] == to[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + changed});
      if (i > 1 && j > 1 && from[i - 1] == to[j - 2] && from[i - 2] == to[j - 1])
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
    }
  }
  return d[from.size()][to.size()];
}

// True when the rest of the line, after the word, is a quoted name that may follow a
// period's digits ("BNP \"lamp.bmp\"", "NID 0090 \"umi.mid\"").
bool QuotedNameFollows(const char* rest) {
  while (IsBlank(*rest) || IsDigit(*rest)) ++rest;
  return *rest == '"' && std::strchr(rest + 1, '"') != nullptr;
}

// A paragraph that looks like a mistyped command. The line begins with two to four
// ASCII capitals that the reader took for no command, and they stand either before a
// quoted name, as a picture's, a sound's or MIDI music's name does, or alone on the
// line, as a command of letters alone. It is told of only when a command of the same
// shape, of two letters or more, lies one slip away (EditDistance 1), and all such
// commands are named. So a paragraph that goes on after its word ("OK でも…"), one
// capital ("A", "I": every one-letter command is one slip from any letter) and words
// far from every command ("BGM", "OK") are never told of; a word that begins with a
// command's letters ("TV", "CDs", "SETT") is that command, whose own rules tell of it.
std::optional<LineProblem> MistypedCommandProblem(const char* line) {
  std::size_t length = 0;
  while (length < 5 && IsCapital(line[length])) ++length;
  if (length < 2 || length > 4) return std::nullopt;
  const std::string_view word(line, length);
  const bool quoted = QuotedNameFollows(line + length);
  if (!quoted && !OnlyBlanksFrom(line, length)) return std::nullopt;
  std::string nearest;
  // The commands with letters come first in the command order, blank and text lines last.
  for (int k = 0; k < static_cast<int>(ScriptCommand::BlankLine); ++k) {
    const auto command = static_cast<ScriptCommand>(k);
    const std::string_view known = CommandWord(command);
    if (known.size() < 2 || CommandNamesQuotedFile(command) != quoted) continue;
    if (EditDistance(word, known) != 1) continue;
    nearest += (nearest.empty() ? "\"" : " or \"") + std::string(known) + "\"";
  }
  if (nearest.empty()) return std::nullopt;
  return LineWarning("\"" + std::string(word) +
                     "\" is not a command, so the line is shown as text: did you mean " + nearest +
                     "?");
}

void AddTextProblems(const char* line, std::vector<LineProblem>& problems) {
  if (auto problem = LowerCaseProblem(line)) {
    problems.push_back(*problem);
  } else if (auto mistyped = MistypedCommandProblem(line)) {
    problems.push_back(*mistyped);
  } else if (!IsLineEnd(line[0]) && OnlyBlanksFrom(line, 0)) {
    problems.push_back(LineWarning(
        "the line holds only spaces: the reader shows it as an empty paragraph and waits "
        "for a click"));
  }
}

}  // namespace

void AddCommandProblems(ShiftJis& shift_jis, const char* line, std::vector<LineProblem>& problems) {
  const ScriptCommand command = RecogniseCommand(line);
  std::optional<LineProblem> problem;
  switch (command) {
    case ScriptCommand::FontSize:
    case ScriptCommand::Brightness:
    case ScriptCommand::Cd: return AddNumberProblems(shift_jis, line, command, problems);
    case ScriptCommand::Midi:
      AddNumberProblems(shift_jis, line, command, problems);
      problem = QuotedNameProblem(shift_jis, line, command);
      break;
    case ScriptCommand::Wave:
    case ScriptCommand::Picture: problem = QuotedNameProblem(shift_jis, line, command); break;
    case ScriptCommand::Title: return AddTitleProblems(shift_jis, line, problems);
    case ScriptCommand::FileSwitch: problem = FileSwitchProblem(shift_jis, line); break;
    case ScriptCommand::Text: return AddTextProblems(line, problems);
    case ScriptCommand::BlankLine: return;
    case ScriptCommand::See:
    case ScriptCommand::Quake:
    case ScriptCommand::ListEnd:
    case ScriptCommand::Choices:
    case ScriptCommand::Hatch:
    case ScriptCommand::PageClear:
    case ScriptCommand::End:
    case ScriptCommand::FadeOn:
    case ScriptCommand::FadeOff: problem = BareCommandProblem(shift_jis, line, command); break;
  }
  if (problem) problems.push_back(*problem);
}
