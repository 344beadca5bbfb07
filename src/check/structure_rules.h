// The shape of a whole script as the reader runs it: choice lists and blocks, the
// lines that every run passes by, and the end that a run can fall off.
#pragma once

#include <vector>

#include "reader/reader_state.h"
#include "script/line_rules.h"

// The findings of a script read into state's line table, with the notes of its reading.
std::vector<ScriptFinding> StructureFindings(const ReaderState& state,
                                             const ScriptTableNotes& notes);
