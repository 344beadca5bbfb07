// The line reading shared by the bookmark and the contents file.
#include "data/data_file.h"

#include <optional>

#include "platform/files/text_file.h"
#include "reader/reader.h"

void ReadDataFileLines(Reader& r, const char* name_sjis, int count,
                       const std::function<void(int number, const DataLine& line)>& store) {
  std::optional<TextFileReader> file = TextFileReader::Open(r.platform.HostPath(name_sjis));
  if (!file) return;
  DataLine line;
  for (int number = 0; number < count; ++number) {
    if (!file->ReadLine(line, sizeof line)) return;
    if (line[0] != '\n') store(number, line);
  }
}
