// The line reading shared by the bookmark and the contents file.
#include "data/data_file.h"

#include <optional>

#include "app/reader.h"
#include "platform/files/text_file.h"

void ReadDataFileLines(Reader& r, const char* name_sjis, int count,
                       const std::function<void(int number, const DataLine& line)>& store) {
  ReadDataFileLines(r.platform.HostPath(name_sjis), count, store);
}

void ReadDataFileLines(const std::string& host_path, int count,
                       const std::function<void(int number, const DataLine& line)>& store) {
  std::optional<TextFileReader> file = TextFileReader::Open(host_path);
  if (!file) return;
  DataLine line;
  for (int number = 0; number < count; ++number) {
    if (!file->ReadLine(line, sizeof line)) return;
    if (line[0] != '\n') store(number, line);
  }
}
