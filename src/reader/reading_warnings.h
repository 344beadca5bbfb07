// Problems that the reader meets while it reads a novel (a missing picture, a line
// that it reads otherwise than it looks), told once each through the platform as
// "FILE:LINE: message". The reading itself goes on as it always does.
#pragma once

#include <string>

#include "platform/files/novel_file.h"

struct Reader;
struct ReaderState;
class ShiftJis;

// The file line (from 1) of a slot of the line table: a file line longer than 255
// bytes fills more than one slot.
int FileLineOfSlot(const ReaderState& s, int slot);

// "FILE:LINE" of the line at CurrentLine, in UTF-8.
std::string CurrentLineLocation(Reader& r);
// "FILE:LINE: message" once, through the platform.
void WarnAt(Reader& r, const std::string& location, const std::string& message_utf8);
void WarnAtCurrentLine(Reader& r, const std::string& message_utf8);

// That the script ScriptFileName names cannot be opened, and why, told at location;
// a script that is there but cannot be read is shown in a message too.
void WarnScriptNotOpened(Reader& r, const std::string& location, const FileError& error);

// A Shift-JIS name in double quotes, in UTF-8, for messages.
std::string QuotedForMessage(ShiftJis& shift_jis, const char* name_sjis);
