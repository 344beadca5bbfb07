// Named files: the reader's own lookup, decoder and CD track search, and the names
// that only a case-blind lookup finds.
#include "check/named_files_check.h"

#include <algorithm>
#include <cstring>

#include "platform/files/host_path.h"
#include "platform/media/track_files.h"
#include "platform/shift_jis.h"

namespace {

std::vector<std::string_view> SplitHostPath(std::string_view path) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t slash = std::min(path.find('/', start), path.size());
    if (slash > start) parts.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return parts;
}

}  // namespace

NamedFileCheck::NamedFileCheck(ShiftJis& shift_jis, std::string novel_directory)
    : shift_jis_(shift_jis),
      directory_(std::move(novel_directory)),
      directory_sjis_length_(shift_jis.FromUtf8(directory_).value_or(directory_).size()) {}

std::string NamedFileCheck::HostPath(std::string_view name_sjis) {
  return names_.Resolve(directory_, name_sjis);
}

// The host name when every part of the name is found as written, raw or as UTF-8,
// is the name itself; a part found otherwise was found by ignoring case.
std::optional<std::string> NamedFileCheck::CaseOnlyName(std::string_view name_sjis,
                                                        const std::string& host_path) {
  const std::string prefix = directory_ + "/";
  if (host_path.compare(0, prefix.size(), prefix) != 0) return std::nullopt;
  const std::string_view relative = std::string_view(host_path).substr(prefix.size());
  const std::vector<std::string_view> written = ShiftJisNameComponents(name_sjis);
  const std::vector<std::string_view> found = SplitHostPath(relative);
  if (written.size() != found.size()) return std::nullopt;  // "." and ".." parts
  for (std::size_t k = 0; k < written.size(); ++k) {
    if (found[k] != written[k] && found[k] != shift_jis_.ToUtf8(written[k]))
      return std::string(relative);
  }
  return std::nullopt;
}

std::vector<LineProblem> NamedFileCheck::Check(NamedFile kind, const char* name_sjis) {
  const std::string host_path = HostPath(name_sjis);
  const std::string name_utf8 = shift_jis_.ToUtf8(name_sjis);
  const std::string key = std::string(NamedFileWord(kind)) + '\0' + host_path + '\0' + name_utf8;
  auto cached = problems_.find(key);
  if (cached == problems_.end()) {
    cached = problems_.emplace(key, NamedFileProblem(kind, host_path, name_utf8)).first;
  }
  std::vector<LineProblem> problems;
  if (cached->second) {
    problems.push_back({Severity::Error, *cached->second});
  } else if (const std::optional<std::string> stored = CaseOnlyName(name_sjis, host_path)) {
    problems.push_back({Severity::Warning, std::string(NamedFileWord(kind)) + " \"" + name_utf8 +
                                               "\" is found only by ignoring case, as \"" +
                                               *stored +
                                               "\": readers on other systems may not find it"});
  }
  if (kind == NamedFile::Midi &&
      directory_sjis_length_ + 1 + std::strlen(name_sjis) > MIDI_PATH_MAX) {
    problems.push_back(
        {Severity::Error,
         MidiPathTooLongMessage(name_utf8, directory_sjis_length_ + 1 + std::strlen(name_sjis))});
  }
  return problems;
}

std::vector<LineProblem> NamedFileCheck::CheckTrack(int track) {
  if (track <= 0 || FindTrackFile(names_, directory_, track)) return {};
  return {{Severity::Error, MissingTrackMessage(track)}};
}
