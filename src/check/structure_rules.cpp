// Choice lists, choice blocks and the runs of a script. The runs follow the
// interpreter's own steps and the choices' own lookups, from line 0 with no block
// passed, through every choice that a list offers.
#include "check/structure_rules.h"

#include <cstdint>
#include <deque>
#include <set>
#include <string>

#include "reader/line_arguments.h"
#include "script/choices.h"
#include "script/command_rules.h"
#include "script/script_commands.h"
#include "script/step_rule.h"
#include "script/text_layout.h"

namespace {

bool IsChoiceDigit(char c) { return c >= '0' && c <= '4'; }

bool IsBlankLine(const char* line) {
  for (const char* p = line; *p != '\0' && *p != '\n'; ++p) {
    if (*p != ' ' && *p != '\t') return false;
  }
  return true;
}

// A line that names a branch target: a digit, then anything but a double quote.
bool IsBranchTarget(const char* line) { return IsChoiceDigit(line[0]) && line[1] != '"'; }

class ScriptShape {
 public:
  ScriptShape(const ReaderState& state, const ScriptTableNotes& notes)
      : s_(state), notes_(notes), lines_(notes.slot_count) {}

  std::vector<ScriptFinding> Findings() {
    if (lines_ == 0) {
      Add(0, Severity::Error, "the script has no lines: the reader shows empty pages");
      return findings_;
    }
    FindListsAndBlocks();
    FollowRuns();
    AddUnreachedLines();
    return findings_;
  }

 private:
  int FileLine(int slot) const { return notes_.file_lines[static_cast<std::size_t>(slot)]; }
  const char* Line(int slot) const { return s_.ScriptLines[slot]; }

  void Add(int slot, Severity severity, std::string message) {
    findings_.push_back({slot < lines_ ? FileLine(slot) : 0, {severity, std::move(message)}});
  }

  void FindListsAndBlocks() {
    in_list_.assign(static_cast<std::size_t>(lines_), false);
    in_block_.assign(static_cast<std::size_t>(lines_), false);
    for (int slot = 0; slot < lines_; ++slot) {
      if (RecogniseCommand(Line(slot)) == ScriptCommand::Choices) CheckList(slot);
      if (Line(slot)[0] == '<') {
        for (int k = slot; k < lines_ && Line(k)[0] != '>'; ++k)
          in_block_[static_cast<std::size_t>(k)] = true;
      }
    }
    for (int slot = 0; slot < lines_; ++slot) CheckBranchTargetLine(slot);
  }

  // The choice-text lines from "SET" to ">": digits 0 up, each once.
  void CheckList(int set_slot) {
    int first_line_of[CHOICE_COUNT] = {-1, -1, -1, -1, -1};
    int slot = set_slot + 1;
    for (; slot < lines_ && Line(slot)[0] != '>'; ++slot) {
      in_list_[static_cast<std::size_t>(slot)] = true;
      if (!IsChoiceText(Line(slot))) continue;
      const int digit = Line(slot)[0] - '0';
      if (first_line_of[digit] >= 0) {
        Add(slot, Severity::Error,
            "choice " + std::to_string(digit) + " is given twice, first at line " +
                std::to_string(FileLine(first_line_of[digit])) + ": the reader shows this one");
      } else {
        first_line_of[digit] = slot;
      }
    }
    if (slot >= lines_) {
      Add(set_slot, Severity::Error,
          "the choice list has no \">\" line: it runs to the end of the script");
    }
    int drawn = 0;
    while (drawn < CHOICE_COUNT && first_line_of[drawn] >= 0) ++drawn;
    int given_after = drawn + 1;
    while (given_after < CHOICE_COUNT && first_line_of[given_after] < 0) ++given_after;
    if (drawn == 0) {
      Add(set_slot, Severity::Error,
          "the choice list has no choice 0: the reader draws none of its choices");
    } else if (given_after < CHOICE_COUNT) {
      Add(set_slot, Severity::Error,
          "the choice list has no choice " + std::to_string(drawn) + ": choice " +
              std::to_string(given_after) + " is not drawn, yet it can be picked");
    }
  }

  void CheckBranchTargetLine(int slot) {
    const char* line = Line(slot);
    if (!IsBranchTarget(line) || in_list_[static_cast<std::size_t>(slot)]) return;
    const std::string digit(1, line[0]);
    const bool digit_only = IsBlankLine(line + 1);
    if (!in_block_[static_cast<std::size_t>(slot)] && digit_only) {
      Add(slot, Severity::Warning,
          "\"" + digit +
              "\" looks like a branch target, but it lies in no choice "
              "block (a \"<\" line up to the next \">\"): it does nothing");
    } else if (in_block_[static_cast<std::size_t>(slot)] && !digit_only) {
      Add(slot, Severity::Warning,
          "the line begins with \"" + digit +
              "\" inside a choice block: besides "
              "being text, it makes choice " +
              digit + " a branch target");
    }
  }

  struct RunState {
    int slot;
    std::int32_t block;
  };

  void FallOffTheEnd() {
    if (fell_off_) return;
    fell_off_ = true;
    Add(lines_ - 1, Severity::Error,
        "a run reaches the end of the script, which does not end with \"E\" or go "
        "on with \"FI\": the reader reads on into empty lines, or stops at line " +
            std::to_string(SCRIPT_LINE_COUNT) + " without showing it");
  }

  void Visit(int slot, std::int32_t block) {
    if (slot >= lines_) return FallOffTheEnd();
    const std::size_t key =
        static_cast<std::size_t>(slot) * (blocks_ + 1) + static_cast<std::size_t>(block);
    if (seen_[key]) return;
    seen_[key] = true;
    queue_.push_back({slot, block});
  }

  void FollowRuns() {
    for (int slot = 0; slot < lines_; ++slot) blocks_ += Line(slot)[0] == '<' ? 1 : 0;
    seen_.assign(static_cast<std::size_t>(lines_) * (blocks_ + 1), false);
    reached_.assign(static_cast<std::size_t>(lines_), false);
    Visit(0, 0);
    while (!queue_.empty()) {
      const RunState run = queue_.front();
      queue_.pop_front();
      Step(run);
    }
  }

  // One line of a run, tested as the interpreter tests it.
  void Step(const RunState& run) {
    const int slot = run.slot;
    const char* line = Line(slot);
    const ScriptCommand command = RecogniseCommand(line);
    if (!reached_[static_cast<std::size_t>(slot)]) {
      reached_[static_cast<std::size_t>(slot)] = true;
      CheckReachedLine(slot, command);
    }
    // A paragraph's pause only waits for a click: the run goes on from the same line.
    switch (StepRuleAt(s_.ScriptLines, slot, false)) {
      case StepRule::Restart:
      case StepRule::RestartAtBrace: return Visit(0, 0);
      case StepRule::Shake: return Visit(slot + 1, run.block);
      case StepRule::Pause:
      case StepRule::SwitchFile: return;
      // The reader ends at the table's last line before it runs it.
      case StepRule::EndOfTable: return CommandEndsRun(command) ? void() : FallOffTheEnd();
      case StepRule::RunCommand: break;
    }
    if (CommandEndsRun(command)) return;
    if (command == ScriptCommand::Choices) return FollowChoices(slot, run.block);
    Visit(slot + 1, run.block);
  }

  // The page as the lines in front of a "SET" leave it, read from the page clear before
  // them in file order: the list is drawn from CHOICE_LIST_TOP down, over the text
  // that reaches there.
  void CheckListOverText(int set_slot) {
    int start = set_slot;
    while (start > 0 && !CommandClearsPage(RecogniseCommand(Line(start - 1)))) --start;
    std::int32_t top = TOP_AFTER_PAGE_CLEAR;
    std::int32_t font_height = NORMAL_FONT_HEIGHT;
    int last_text = -1;
    for (int slot = start; slot < set_slot; ++slot) {
      const ScriptCommand command = RecogniseCommand(Line(slot));
      if (command == ScriptCommand::FontSize) {
        font_height = FontHeightOf(ReadNumber(Line(slot), FONT_SIZE_COLUMNS));
      }
      if (command != ScriptCommand::Text || IsStructural(slot)) continue;
      const auto length = static_cast<std::uint32_t>(LineLength(Line(slot)));
      if (LineOverflowsPage(top, font_height, length)) top = TOP_AFTER_PAGE_CLEAR;
      top = CursorAfterLine(top, font_height, length);
      last_text = slot;
    }
    if (last_text < 0 || top <= CHOICE_LIST_TOP) return;
    Add(set_slot, Severity::Warning,
        "the choices are drawn over the text that the page holds (down to line " +
            std::to_string(FileLine(last_text)) +
            "): put a \"C\" line before the list, or fewer lines of text in front of it");
  }

  void CheckReachedLine(int slot, ScriptCommand command) {
    const char* line = Line(slot);
    if (command == ScriptCommand::Choices) CheckListOverText(slot);
    if (command == ScriptCommand::ListEnd) {
      Add(slot, Severity::Error,
          "a run reaches this \">\" line outside a choice list and stops there for good: "
          "clicks no longer go on");
    } else if (line[0] == '<') {
      Add(slot, Severity::Error,
          "a run reaches this \"<\" line, and the reader shows it as text, \"<\" "
          "included; put each block's \"<\" line inside its list");
    } else if (IsChoiceText(line) || (IsBranchTarget(line) && IsBlankLine(line + 1))) {
      Add(slot, Severity::Error,
          "a run reaches this choice line outside a list, and the reader shows it as "
          "text");
    }
  }

  // Each choice that the list offers: back to line 0 at a branch target, else on
  // to the next block, else behind the list.
  void FollowChoices(int set_slot, std::int32_t block) {
    bool offered = false;
    for (int slot = set_slot; slot < lines_ && Line(slot)[0] != '>'; ++slot) {
      if (!IsChoiceText(Line(slot))) continue;
      offered = true;
      const char digit = Line(slot)[0];
      const int block_start = BlockOpening(s_, std::int64_t{block} + 1);
      if (block_start >= 0 && HasBranchTarget(s_, block_start, digit)) {
        Visit(0, 0);
      } else if (const int next = BlockOpening(s_, std::int64_t{block} + 2); next >= 0) {
        Visit(next, block + 1);
      } else {
        FollowPastList(set_slot, block, std::string(1, digit));
      }
    }
    if (!offered) FollowPastList(set_slot, block, "");
  }

  void FollowPastList(int set_slot, std::int32_t block, const std::string& digit) {
    const int after = LineAfterList(s_, set_slot);
    if (after > lines_) return;  // no ">" line: told of with the list
    if (after == lines_ && !digit.empty()) {
      if (!nowhere_told_.insert(std::to_string(set_slot) + digit).second) return;
      Add(set_slot, Severity::Error,
          "choice " + digit +
              " names no branch target and there is no next choice block, so the reader goes "
              "on behind the list, where the script ends");
      return;
    }
    Visit(after, block);
  }

  // Lines that belong to lists and blocks are read by the choices, not run.
  bool IsStructural(int slot) const {
    const char* line = Line(slot);
    return line[0] == '}' || line[0] == '<' || line[0] == '>' || IsBlankLine(line) ||
           in_list_[static_cast<std::size_t>(slot)] ||
           (in_block_[static_cast<std::size_t>(slot)] && IsBranchTarget(line));
  }

  // One finding for each stretch of lines that no run reaches; the lists, blocks and
  // blank lines inside a stretch belong to it.
  void AddUnreachedLines() {
    for (int slot = 0; slot < lines_;) {
      if (reached_[static_cast<std::size_t>(slot)] || IsStructural(slot)) {
        ++slot;
        continue;
      }
      int last = slot;
      for (int k = slot + 1; k < lines_ && !reached_[static_cast<std::size_t>(k)]; ++k) {
        if (!IsStructural(k)) last = k;
      }
      const std::string lines = FileLine(slot) == FileLine(last)
                                    ? "line " + std::to_string(FileLine(slot)) + " is"
                                    : "lines " + std::to_string(FileLine(slot)) + "-" +
                                          std::to_string(FileLine(last)) + " are";
      Add(slot, Severity::Warning, lines + " never reached: no run of the script comes here");
      slot = last + 1;
    }
  }

  const ReaderState& s_;
  const ScriptTableNotes& notes_;
  const int lines_;
  std::vector<bool> in_list_;
  std::vector<bool> in_block_;
  std::size_t blocks_ = 0;
  std::vector<bool> seen_;  // by slot and block passed
  std::vector<bool> reached_;
  std::deque<RunState> queue_;
  bool fell_off_ = false;
  std::set<std::string> nowhere_told_;  // lists and digits that lead nowhere, told once
  std::vector<ScriptFinding> findings_;
};

}  // namespace

std::vector<ScriptFinding> StructureFindings(const ReaderState& state,
                                             const ScriptTableNotes& notes) {
  return ScriptShape(state, notes).Findings();
}
