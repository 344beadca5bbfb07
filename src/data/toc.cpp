// The table of contents: twenty entries of label and script file, read once at
// start-up from "ファイル.txt".
#include "data/toc.h"

#include <optional>

#include "app/reader.h"
#include "app/texts.h"
#include "data/field_walk.h"
#include "platform/files/text_file.h"

namespace {

constexpr std::size_t kLineBufferSize = 256;

// No terminator is written: the entries are zero from start-up and are filled only once,
// so a second comma's shorter file text leaves the tail of the first one in place.
void StoreTocLine(ReaderState& s, int entry, const char (&line)[kLineBufferSize]) {
  WalkFields(line, [&s, entry](int field, std::size_t position, char byte) {
    char* text = field == 0 ? s.TocLabels[entry] : s.TocFiles[entry];
    if (position < MENU_TEXT_SIZE - 1) text[position] = byte;
  });
}

}  // namespace

void LoadToc(Reader& r) {
  std::optional<TextFileReader> file = TextFileReader::Open(r.platform.HostPath(texts::kTocFile));
  if (!file) return;
  // A line longer than 255 bytes arrives in pieces, each taken as the next entry's line.
  char line[kLineBufferSize];
  for (int entry = 0; entry < TOC_COUNT; ++entry) {
    if (!file->ReadLine(line, sizeof line)) return;
    // An empty line still takes its entry number.
    if (line[0] == '\n') continue;
    StoreTocLine(r.state, entry, line);
  }
}
