// The contents file and the bookmark file as the reader reads them: lines that it
// cuts or skips, fields that it cuts or drops, and the scripts that entries open.
#pragma once

#include <string>
#include <vector>

#include "script/line_rules.h"

class Volume;

struct DataFileReport {
  std::vector<ScriptFinding> findings;
  struct Entry {
    std::string script_sjis;  // the script as the reader stores it
    int file_line = 0;
  };
  std::vector<Entry> scripts;
};

// The file name_sjis of the novel read as the contents, or as the bookmarks.
DataFileReport CheckContentsFile(Volume& volume, const char* name_sjis);
DataFileReport CheckBookmarkFile(Volume& volume, const char* name_sjis);
