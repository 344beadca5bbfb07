// The script in memory: 700 line slots of 256 bytes, emptied by ResetScript and
// filled from the file named by ScriptFileName by LoadScript.
#pragma once

struct Reader;
struct ReaderState;

void ResetScript(Reader& r);
void LoadScript(Reader& r);

// True for an index that lies inside the line table.
bool LineInTable(int index);
