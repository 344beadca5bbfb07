// The table of contents: twenty entries of label and script file, read once at
// start-up from "ファイル.txt".
#include "data/toc.h"

#include "data/data_file.h"
#include "data/field_walk.h"
#include "reader/reader.h"
#include "reader/texts.h"

// No terminator is written: the entries are zero from start-up and are filled only once,
// so a second comma's shorter file text leaves the tail of the first one in place.
void StoreTocLine(ReaderState& s, int entry, const DataLine& line) {
  WalkFields(line, [&s, entry](int field, std::size_t position, char byte) {
    char* text = field == 0 ? s.TocLabels[entry] : s.TocFiles[entry];
    if (position < MENU_TEXT_SIZE - 1) text[position] = byte;
  });
}

void LoadToc(Reader& r) {
  // An empty line leaves its entry empty and still takes its number.
  ReadDataFileLines(r, texts::TOC_FILE, TOC_COUNT, true,
                    [&r](int entry, const DataLine& line) { StoreTocLine(r.state, entry, line); });
}
