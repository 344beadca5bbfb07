// The menu's commands, which move in the script from outside the interpreter.
#pragma once

struct Reader;
class Window;

void OnCommand(Reader& r, Window& window, int command);
// Turns the current line into a page clear and runs it, before a script is read again.
void ForcePageClear(Reader& r);
