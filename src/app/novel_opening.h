// Another novel from the window: O asks the desktop's chooser, or, where there is
// none (and headless), shows yomu's own list in the menus' style: the novels opened
// last by their titles, then the novels in the current folder. The novel picked is
// opened by a new start of the program, once this one has ended as its exit does.
// The title a novel showed is kept beside it in the list of novels opened last.
#pragma once

#include "platform/win32_types.h"

struct Reader;
class Window;

void OpenAnotherNovel(Reader& r, Window& window);
// A pick of yomu's own list; false for any other command.
bool OnNovelListCommand(Reader& r, Window& window, UINT command);
// At the window's end: the caption that a "T" line gave the window, for the list.
void KeepTitleOfNovel(Reader& r, const Window& window);
