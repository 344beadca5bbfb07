// The table of contents and its file "ファイル.txt".
#pragma once

#include "data/data_file.h"

struct Reader;
struct ReaderState;

void LoadToc(Reader& r);
// What LoadToc keeps of one line of the file in entry.
void StoreTocLine(ReaderState& s, int entry, const DataLine& line);
