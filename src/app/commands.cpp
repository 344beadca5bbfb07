// The menu's commands. Contents, bookmarks and the page back arrive with the menu.
#include "app/commands.h"

#include "app/full_screen.h"
#include "app/reader.h"
#include "app/skip_mode.h"
#include "script/line_table.h"
#include "script/text_layout.h"

void ForcePageClear(Reader& r) {
  ReaderState& s = r.state;
  if (!LineInTable(s.CurrentLine)) return;
  s.ScriptLines[s.CurrentLine][0] = 'C';
  PutTextLine(r, 0);
}

void OnCommand(Reader& r, Window& window, int command) {
  switch (command) {
    case IDM_SKIP:
      StartSkipMode(r, window);
      return;
    case IDM_FULLSCREEN:
      ToggleFullScreen(r, window);
      return;
    case IDM_EXIT:
      // The same teardown as the close button, at once; the window stays until the loop ends.
      SendNotifyMessageA(window, WM_DESTROY, 0, 0);
      return;
    default:
      return;
  }
}
