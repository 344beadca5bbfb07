// The contents file and the bookmark file as the reader reads them: lines that it
// cuts or skips, fields that it cuts or drops, and the scripts that entries open.
#pragma once

#include <string>
#include <vector>

#include "script/line_rules.h"

class ShiftJis;

struct DataFileReport {
  std::vector<ScriptFinding> findings;
  struct Entry {
    std::string script_sjis;  // the script as the reader stores it
    int file_line = 0;
  };
  std::vector<Entry> scripts;
};

DataFileReport CheckContentsFile(ShiftJis& shift_jis, const std::string& host_path);
DataFileReport CheckBookmarkFile(ShiftJis& shift_jis, const std::string& host_path);
