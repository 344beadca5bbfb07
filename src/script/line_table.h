// The script in memory: 700 line slots of 256 bytes, emptied by ResetScript and
// filled from the file named by ScriptFileName by LoadScript.
#pragma once

#include <variant>

#include "platform/files/novel_file.h"
#include "script/line_rules.h"

struct Reader;
struct ReaderState;
class TextFileReader;

void ResetScript(Reader& r);
// Why the file cannot be opened, when it cannot; the table is then left as it was.
FileOr<std::monostate> LoadScript(Reader& r);

// Reads a script file into the table from slot 0 on, as LoadScript does: slots behind
// the last line read keep what they held. With notes, it also finds what the reader
// will read otherwise than the file looks.
void ReadScriptTable(TextFileReader& file, ScriptTable& table, ShiftJis& shift_jis,
                    ScriptTableNotes* notes);

// True for an index that lies inside the line table.
bool LineInTable(int index);
