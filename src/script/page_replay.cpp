// Page replay: the loaded script laid out again from line 0 without drawing, counting
// page starts up to the wanted page, which is then prepared empty and labelled over
// its own background, with its music and its choice block.
#include "script/page_replay.h"

#include <cstring>

#include "reader/reader.h"
#include "reader/text_fields.h"
#include "script/choices.h"
#include "script/line_table.h"
#include "script/page_scene.h"
#include "script/text_layout.h"
#include "sound/music.h"

namespace {

struct ReplaySearch {
  std::int32_t page_count = 1;  // page starts met so far, plus one
  std::int32_t start_line = 0;  // the page start met last
  // The last "CD" line met; empty when none was, which makes RestoreCd stop the CD.
  char cd_line[SCRIPT_LINE_SIZE] = {};
};

void CountPageStart(ReaderState& s, ReplaySearch& search) {
  search.page_count += 1;
  search.start_line = s.CurrentLine;
  s.ReplayTop() = TOP_AFTER_PAGE_CLEAR;
}

bool IsTextByte(unsigned char byte) { return byte == '\n' || byte == ' ' || byte >= 0x80; }

// Only text lines that begin with a line feed, a space or a Shift-JIS byte take room:
// a paragraph starting with an ASCII letter adds nothing to the replay's layout.
void LayOutTextLine(ReaderState& s, ReplaySearch& search) {
  const char* line = s.ScriptLines[s.CurrentLine];
  const auto length = static_cast<std::uint32_t>(strnlen(line, SCRIPT_LINE_SIZE));
  if (LineOverflowsPage(s.ReplayTop(), s.FontHeight, length)) CountPageStart(s, search);
  s.ReplayTop() = CursorAfterLine(s.ReplayTop(), s.FontHeight, length);
}

// The first case that matches the line's first two bytes, in the replay's own order.
void ReplayLine(Reader& r, Window& window, ReplaySearch& search) {
  ReaderState& s = r.state;
  const char* line = s.ScriptLines[s.CurrentLine];
  const auto first = static_cast<unsigned char>(line[0]);
  if (first == 'C' && line[1] == 'D') {
    CopyField(search.cd_line, line);
  } else if (first == 'T') {
    CmdTitle(r, window);
  } else if (first == 'F') {
    // "FC" and "FI" too: their size reads as 0, so the replay resets the font there.
    CmdFontSize(r);
  } else if (first == 'C') {
    CountPageStart(s, search);
  } else if (first == 'M') {
    s.FadeMode = 1;
  } else if (first == '/') {
    s.FadeMode = 0;
  } else if (IsTextByte(first)) {
    LayOutTextLine(s, search);
  }
}

// Stops after the wanted page's start, or at the end of the line table, where the last
// page start found is taken.
void SearchPageStart(Reader& r, Window& window, std::int32_t wanted, ReplaySearch& search) {
  ReaderState& s = r.state;
  while (search.page_count <= wanted && LineInTable(s.CurrentLine)) {
    ReplayLine(r, window, search);
    s.CurrentLine += 1;
  }
}

}  // namespace

void ReplayToPage(Reader& r, Window& window) {
  ReaderState& s = r.state;
  const std::int32_t wanted = s.PageNumber;
  ReplaySearch search;
  s.CurrentLine = 0;
  s.FadeMode = 0;
  if (wanted >= 1) SearchPageStart(r, window, wanted, search);
  RestorePageScene(r, window, search.start_line);
  // The page clear without its page count, labelled in the replay's own rectangle.
  WipePage(s);
  s.ReplayTop() = TOP_AFTER_PAGE_CLEAR;
  DrawPageLabel(s, s.ReplayLabelRect);
  RestoreCd(r, window, search.cd_line);
  s.CurrentLine = search.start_line;
  // Choices on and after this page look up the block that reading forward reaches here.
  s.ChoiceBlockIndex = ChoiceBlockAt(s, s.CurrentLine);
  // The run counts this page-clear line again and comes back to the wanted number.
  if (s.ScriptLines[s.CurrentLine][0] == 'C') {
    // Wraps at the lowest number instead of overflowing, as the 32-bit count did.
    s.PageNumber = static_cast<std::int32_t>(std::int64_t{s.PageNumber} - 1);
  }
}
