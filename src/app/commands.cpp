// The menu's commands: contents entries, saving and opening bookmarks, the page back,
// skip mode, full screen and exit.
#include "app/commands.h"

#include "app/full_screen.h"
#include "app/novel_opening.h"
#include "app/skip_mode.h"
#include "data/bookmarks.h"
#include "data/resume_point.h"
#include "reader/reader.h"
#include "reader/reading_warnings.h"
#include "reader/text_fields.h"
#include "reader/texts.h"
#include "script/interpreter.h"
#include "script/line_table.h"
#include "script/page_replay.h"
#include "script/text_layout.h"

namespace {

bool InRange(int command, int first, int count) {
  return command >= first && command < first + count;
}

// The current line may lie past the table after a run that reached its end.
void MarkPageClear(ReaderState& s) {
  if (LineInTable(s.CurrentLine)) s.ScriptLines[s.CurrentLine][0] = 'C';
}

// The marked line's page clear; past the table, where no line was marked, the page
// is cleared and counted all the same, so that back one page goes back by one.
void ClearMarkedPage(Reader& r) {
  if (LineInTable(r.state.CurrentLine)) {
    PutTextLine(r, 0);
  } else {
    ClearPage(r);
  }
}

// An entry of a data file names the script; a missing one is told of at that entry.
void LoadScriptOrWarn(Reader& r, const std::string& told_at) {
  if (const FileOr<std::monostate> loaded = LoadScript(r); !loaded) {
    WarnScriptNotOpened(r, told_at, loaded.error());
  }
}

std::string EntryOf(Reader& r, const char* data_file, int entry) {
  return r.platform.shift_jis.ToUtf8(data_file) + ":" + std::to_string(entry + 1);
}

// The file name is taken between the line's change and its page clear.
void OpenContentsEntry(Reader& r, Window& window, int entry) {
  ReaderState& s = r.state;
  MarkPageClear(s);
  CopyField(s.ScriptFileName, s.TocFiles[entry]);
  ClearMarkedPage(r);
  ResetScript(r);
  LoadScriptOrWarn(r, EntryOf(r, texts::TOC_FILE, entry));
  s.PageNumber = 0;
  RunScript(r, window);
}

// The script is read again without emptying the table first: slots behind the file's
// last line keep what they held.
void ReplayLoadedPage(Reader& r, Window& window) {
  ReplayToPage(r, window);
  RunScript(r, window);
}

void OpenBookmark(Reader& r, Window& window, int slot) {
  const ReaderState& s = r.state;
  OpenPage(r, window, ReadDecimal(s.BookmarkPages[slot]), s.BookmarkFiles[slot],
           EntryOf(r, texts::BOOKMARK_FILE, slot));
}

void GoBackOnePage(Reader& r, Window& window) {
  ReaderState& s = r.state;
  if (s.PageNumber == 1) return;
  ForcePageClear(r);
  // Wraps at the lowest number instead of overflowing, as the 32-bit count did.
  s.PageNumber = static_cast<std::int32_t>(std::int64_t{s.PageNumber} - 2);
  (void)LoadScript(r);  // the file of the page read; when it is gone the table stays
  ReplayLoadedPage(r, window);
}

// The place where the reader stopped, opened as a bookmark opens; none, nothing happens.
void ResumeReading(Reader& r, Window& window) {
  if (const std::optional<ResumePlace> place = ReadResumePoint(r.platform)) {
    OpenPage(r, window, place->page, place->script_sjis.c_str(), "resume");
  }
}

// The commands of single items, each with its own identifier.
void OnItemCommand(Reader& r, Window& window, int command) {
  switch (command) {
    case IDM_SKIP: StartSkipMode(r, window); return;
    case IDM_FULLSCREEN: ToggleFullScreen(r, window); return;
    case IDM_EXIT:
      // The same teardown as the close button, at once; the window stays until the loop ends.
      SendNotifyMessageA(window, WM_DESTROY, 0, 0);
      return;
    case IDM_BACK_PAGE: GoBackOnePage(r, window); return;
    case IDM_CONTINUE: ResumeReading(r, window); return;
    case IDM_OPEN_NOVEL: OpenAnotherNovel(r, window); return;
    case IDM_CANCEL:  // the menu has already closed
    default: return;
  }
}

}  // namespace

void OpenPage(Reader& r, Window& window, std::int32_t page, const char* script_sjis,
              const std::string& told_at) {
  ReaderState& s = r.state;
  ForcePageClear(r);
  s.PageNumber = page;
  CopyField(s.ScriptFileName, script_sjis);
  LoadScriptOrWarn(r, told_at);
  ReplayLoadedPage(r, window);
}

void ForcePageClear(Reader& r) {
  MarkPageClear(r.state);
  ClearMarkedPage(r);
}

void OnCommand(Reader& r, Window& window, int command) {
  if (InRange(command, IDM_TOC_FIRST, TOC_COUNT)) {
    OpenContentsEntry(r, window, command - IDM_TOC_FIRST);
  } else if (InRange(command, IDM_BOOKMARK_SAVE_FIRST, BOOKMARK_COUNT)) {
    StoreBookmark(r, command - IDM_BOOKMARK_SAVE_FIRST);
  } else if (InRange(command, IDM_BOOKMARK_LOAD_FIRST, BOOKMARK_COUNT)) {
    OpenBookmark(r, window, command - IDM_BOOKMARK_LOAD_FIRST);
  } else if (OnNovelListCommand(r, window, static_cast<UINT>(command))) {
    return;
  } else {
    OnItemCommand(r, window, command);
  }
}
