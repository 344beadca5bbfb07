// The files that a novel's lines name, looked up as the reader looks them up:
// missing, refused by the reader, found only by ignoring case, or found under the
// names that an extractor mangled.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "reader/named_files.h"
#include "script/line_rules.h"

class Volume;

class NamedFileCheck {
 public:
  explicit NamedFileCheck(Volume& volume);

  // What keeps the reader from using a named file as it is; nothing when all is well.
  std::vector<LineProblem> Check(NamedFile kind, const char* name_sjis);
  std::vector<LineProblem> CheckTrack(int track);

 private:
  // A warning for a name that the reader finds otherwise than as written.
  std::optional<LineProblem> MatchProblem(NamedFile kind, const char* name_sjis);

  Volume& volume_;
  std::size_t place_sjis_length_;  // as the reader's working directory holds it
  // Each file is looked at once, however many lines name it: pictures are decoded.
  std::map<std::string, std::optional<std::string>> problems_;
  std::set<std::string> mangled_folders_;  // told of once each
};
