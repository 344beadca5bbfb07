// The menu's commands, which move in the script from outside the interpreter.
#pragma once

#include <cstdint>
#include <string>

struct Reader;
class Window;

void OnCommand(Reader& r, Window& window, int command);
// Opens page of the script as a bookmark opens: the script read again and replayed to
// that page; a script that cannot be read is told of at told_at.
void OpenPage(Reader& r, Window& window, std::int32_t page, const char* script_sjis,
              const std::string& told_at);
// Turns the current line into a page clear and runs it, before a script is read again.
void ForcePageClear(Reader& r);
