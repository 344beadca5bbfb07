// The line reading shared by the bookmark and the contents file.
#include "data/data_file.h"

#include <optional>

#include "platform/files/author_text.h"
#include "platform/files/text_file.h"
#include "reader/reader.h"

void ReadDataFileLines(Reader& r, const char* name_sjis, int count, bool authors_file,
                       const std::function<void(int number, const DataLine& line)>& store) {
  FileOr<std::unique_ptr<ByteSource>> source = r.platform.volume->Open(name_sjis);
  if (!source) return;
  TextFileReader file = authors_file ? OpenAuthorText(r.platform.shift_jis, std::move(*source))
                                     : TextFileReader(std::move(*source));
  ReadDataLines(file, count, store);
}

void ReadDataFileLines(const std::string& host_path, int count,
                       const std::function<void(int number, const DataLine& line)>& store) {
  FileOr<TextFileReader> file = TextFileReader::Open(host_path);
  if (file) ReadDataLines(*file, count, store);
}

void ReadDataLines(TextFileReader& file, int count,
                   const std::function<void(int number, const DataLine& line)>& store) {
  DataLine line;
  for (int number = 0; number < count; ++number) {
    if (!file.ReadLine(line, sizeof line)) return;
    if (line[0] != '\n') store(number, line);
  }
}
