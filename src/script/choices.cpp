// Choices: the list after a "SET" line, drawn in a column over the page; the
// highlight that follows the pointer; the choice that moves the script on.
#include "script/choices.h"

#include <cstdint>
#include <cstring>
#include <limits>

#include "platform/gdi/text.h"
#include "platform/window/window.h"
#include "reader/read_history.h"
#include "reader/reader.h"
#include "reader/text_fields.h"
#include "render/surfaces.h"
#include "script/interpreter.h"
#include "script/line_table.h"
#include "script/text_outlets.h"

namespace {

constexpr std::int32_t LIST_LEFT = 50;
constexpr std::int32_t ROW_GAP = 20;
constexpr COLORREF HIGHLIGHT = RGB(0, 255, 0);

bool IsChoiceDigit(char c) { return c >= '0' && c <= '4'; }

// The step between choices in 64 bits, so that no font height can overflow it.
std::int64_t ChoiceStep(std::int32_t font_height) {
  return static_cast<std::int64_t>(font_height) + ROW_GAP;
}

std::int32_t ClampToInt32(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

int ChoiceLength(const char* text) { return static_cast<int>(strnlen(text, CHOICE_TEXT_SIZE)); }

// Draws slots 0, 1, 2 ... while they hold a text, one step apart. A highlight of
// NO_CHOICE or above sets no colour at all: the list is drawn in the page's colour.
void DrawChoiceList(ReaderState& s, int highlight, COLORREF grey, bool set_colours) {
  Surface& page = *s.PageSurface;
  const std::int64_t step = ChoiceStep(s.FontHeight);
  std::int64_t top = CHOICE_LIST_TOP;
  for (int k = 0; k < CHOICE_COUNT && s.ChoiceTexts[k][0] != '\0'; ++k) {
    if (set_colours) SetTextColor(page, k == highlight ? HIGHLIGHT : grey);
    RECT rect = {LIST_LEFT, ClampToInt32(top), PAGE_WIDTH, PAGE_HEIGHT};
    DrawTextA(page, s.ChoiceTexts[k], ChoiceLength(s.ChoiceTexts[k]), &rect, DT_WORDBREAK);
    top += step;
  }
}

void EmptyChoices(ReaderState& s) {
  for (auto& slot : s.ChoiceTexts) slot[0] = '\0';
}

}  // namespace

bool IsChoiceText(const char* line) { return IsChoiceDigit(line[0]) && line[1] == '"'; }

int BlockOpening(const ReaderState& s, std::int64_t count) {
  if (count <= 0) return -1;
  std::int64_t seen = 0;
  for (int line = 0; LineInTable(line); ++line) {
    if (s.ScriptLines[line][0] == '<' && ++seen == count) return line;
  }
  return -1;
}

bool HasBranchTarget(const ReaderState& s, int block_start, char digit) {
  for (int line = block_start; LineInTable(line) && s.ScriptLines[line][0] != '>'; ++line) {
    const char* text = s.ScriptLines[line];
    if (text[0] == digit && text[1] != '"') return true;
  }
  return false;
}

int LineAfterList(const ReaderState& s, int set_line) {
  int line = set_line;
  while (LineInTable(line) && s.ScriptLines[line][0] != '>') ++line;
  return LineInTable(line) ? line + 1 : SCRIPT_LINE_COUNT;
}

void ShowChoices(Reader& r) {
  ReaderState& s = r.state;
  // A list without its ">" line runs to the end of the table.
  for (int line = s.CurrentLine; LineInTable(line) && s.ScriptLines[line][0] != '>'; ++line) {
    const char* text = s.ScriptLines[line];
    if (IsChoiceText(text)) CopyField(s.ChoiceTexts[text[0] - '0'], text);
  }
  // The quotes are replaced in the slots for good: the highlight redraws these texts.
  for (int k = 0; k < CHOICE_COUNT && s.ChoiceTexts[k][0] != '\0'; ++k) {
    for (char& c : s.ChoiceTexts[k]) {
      if (c == '\0') break;
      if (c == '"') c = ' ';
    }
  }
  // The list takes the page's current colour: white after a text line.
  DrawChoiceList(s, NO_CHOICE, 0, false);
  PresentPage(r, s.WindowDC);
  PassOnChoices(r);
}

void HighlightChoice(Reader& r, Window& window, int index) {
  ReaderState& s = r.state;
  const COLORREF grey = BrightnessGrey(s.TextBrightness);
  // Drawn over the list as it stands: a grey choice redrawn green turns green.
  DrawChoiceList(s, index, grey, true);
  // The pointer moves outside any run, so the window's context is taken for this.
  Surface* context = GetDC(window);
  PresentPage(r, context);
  ReleaseDC(window, context);
  SetTextColor(*s.PageSurface, grey);
  PassOnHighlightedChoice(r, index);
}

void TrackChoiceHover(Reader& r, Window& window, int y) {
  ReaderState& s = r.state;
  const std::int64_t step = ChoiceStep(s.FontHeight);
  const std::int64_t pointer = y;
  for (int k = 0; k < CHOICE_COUNT; ++k) {
    // The first text row of choice k without its topmost pixel row.
    const std::int64_t top = CHOICE_LIST_TOP + k * step;
    const bool inside = top < pointer && pointer < top + s.FontHeight;
    if (!inside || s.ChoiceTexts[k][0] == '\0') continue;
    // Only a change of choice redraws the list.
    if (s.HoverChoice != k) {
      s.HoverChoice = k;
      HighlightChoice(r, window, k);
    }
    return;
  }
  if (s.HoverChoice == NO_CHOICE) return;
  s.HoverChoice = NO_CHOICE;
  HighlightChoice(r, window, NO_CHOICE);
}

std::int64_t ChoiceBandMiddle(std::int32_t font_height, int index) {
  return CHOICE_LIST_TOP + index * ChoiceStep(font_height) + font_height / 2;
}

void SelectChoice(Reader& r, int index, Window& window) {
  ReaderState& s = r.state;
  if (index < 0 || index >= CHOICE_COUNT) return;
  RecordChoice(r, std::string_view(s.ChoiceTexts[index], ChoiceLength(s.ChoiceTexts[index])));
  const char digit = static_cast<char>('0' + index);
  const std::int64_t block = s.ChoiceBlockIndex;
  const int block_start = BlockOpening(s, block + 1);
  if (block_start >= 0 && HasBranchTarget(s, block_start, digit)) {
    s.CurrentLine = 0;
    s.ChoiceBlockIndex = 0;
    (void)LoadScript(r);  // the file just read; when it is gone the table stays
    RunScript(r, window);
    // Emptied after the run: a "SET" that the run met keeps its list drawn but inactive.
    EmptyChoices(s);
    return;
  }
  const int next_start = BlockOpening(s, block + 2);
  if (next_start < 0) {
    // Without a block to move on to, the story goes on behind the list.
    PassChoiceList(r, window);
    return;
  }
  s.ChoiceBlockIndex = ClampToInt32(block + 1);
  s.CurrentLine = next_start;
  EmptyChoices(s);
  RunScript(r, window);
}

bool HasChoice(const ReaderState& s) {
  for (const auto& slot : s.ChoiceTexts) {
    if (slot[0] != '\0') return true;
  }
  return false;
}

void PassChoiceList(Reader& r, Window& window) {
  ReaderState& s = r.state;
  s.CurrentLine = LineAfterList(s, s.CurrentLine);
  EmptyChoices(s);
  RunScript(r, window);
}

std::int32_t ChoiceBlockAt(const ReaderState& s, int line) {
  std::int32_t openings = 0;
  for (int k = 0; k <= line && LineInTable(k); ++k) openings += s.ScriptLines[k][0] == '<';
  return openings > 0 ? openings - 1 : 0;
}
