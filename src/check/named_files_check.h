// The files that a novel's lines name, looked up as the reader looks them up:
// missing, refused by the reader, or found only by ignoring case.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/host_path.h"
#include "reader/named_files.h"
#include "script/line_rules.h"

class ShiftJis;

class NamedFileCheck {
 public:
  NamedFileCheck(ShiftJis& shift_jis, std::string novel_directory);

  // The host path of a name relative to the novel's folder, as the reader finds it.
  std::string HostPath(std::string_view name_sjis);
  // What keeps the reader from using a named file as it is; nothing when all is well.
  std::vector<LineProblem> Check(NamedFile kind, const char* name_sjis);
  std::vector<LineProblem> CheckTrack(int track);

 private:
  std::optional<std::string> CaseOnlyName(std::string_view name_sjis, const std::string& host_path);

  ShiftJis& shift_jis_;
  HostNames names_{shift_jis_};
  std::string directory_;
  std::size_t directory_sjis_length_;  // as the reader's working directory holds it
  // Each file is looked at once, however many lines name it: pictures are decoded.
  std::map<std::string, std::optional<std::string>> problems_;
};
