// The line reading shared by the bookmark and the contents file.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

struct Reader;
class TextFileReader;

constexpr std::size_t DATA_LINE_SIZE = 256;
using DataLine = char[DATA_LINE_SIZE];

// Reads the first count lines of a file of the novel and hands each one
// with its number to store. A line longer than 255 bytes arrives in pieces, each taken
// as the next line; an empty line is passed over but keeps its number. A missing file
// stores nothing.
// The contents file, which authors write, may be in UTF-8: it is then read converted.
void ReadDataFileLines(Reader& r, const char* name_sjis, int count, bool authors_file,
                       const std::function<void(int number, const DataLine& line)>& store);
// The same for a file given by its host path.
void ReadDataFileLines(const std::string& host_path, int count,
                       const std::function<void(int number, const DataLine& line)>& store);
// The same for a file already open.
void ReadDataLines(TextFileReader& file, int count,
                   const std::function<void(int number, const DataLine& line)>& store);
