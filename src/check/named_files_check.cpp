// Named files: the reader's own lookup, decoder and CD track search, and the names
// that only a case-blind lookup or the extractors' forms find.
#include "check/named_files_check.h"

#include <cstring>

#include "platform/files/volume.h"
#include "platform/utf8_text.h"
#include "platform/media/track_files.h"

namespace {

// A name that is no UTF-8 shown as unzip meant its bytes, in ISO 8859-1.
std::string Latin1Shown(const std::string& name) {
  if (WellFormedUtf8Length(name) == name.size()) return name;
  std::string shown;
  for (const char c : name) AppendUtf8(shown, static_cast<unsigned char>(c));
  return shown;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

NamedFileCheck::NamedFileCheck(Volume& volume)
    : volume_(volume),
      place_sjis_length_(
          volume.shift_jis().FromUtf8(volume.place()).value_or(volume.place()).size()) {}

std::optional<LineProblem> NamedFileCheck::MatchProblem(NamedFile kind, const char* name_sjis) {
  const FileOr<NovelFile> file = volume_.Find(name_sjis);
  if (!file || file->match == NameMatch::AsWritten) return std::nullopt;
  const std::string named = std::string(NamedFileWord(kind)) + " \"" +
                            volume_.shift_jis().ToUtf8(name_sjis) + "\"";
  const std::string stored = "\"" + volume_.DisplayName(file->path) + "\"";
  if (file->match == NameMatch::IgnoringCase) {
    return LineProblem{Severity::Warning, named + " is found only by ignoring case, as " + stored +
                                              ": readers on other systems may not find it"};
  }
  const std::string folder = FolderOf(file->path);
  if (!mangled_folders_.insert(folder).second) return std::nullopt;
  const std::string where =
      folder.empty() ? "the novel's folder" : "the folder \"" + Latin1Shown(folder) + "\"";
  return LineProblem{Severity::Warning,
                     "the names in " + where +
                         " were changed by the program that unpacked its archive (" + named +
                         " is stored as \"" + Latin1Shown(file->path) + "\"" +
                         "): yomu finds them, but other readers may not; yomu also reads the "
                         "archive itself, as it was shared"};
}

std::vector<LineProblem> NamedFileCheck::Check(NamedFile kind, const char* name_sjis) {
  const std::string key = std::string(NamedFileWord(kind)) + '\0' + name_sjis;
  auto cached = problems_.find(key);
  if (cached == problems_.end()) {
    cached = problems_.emplace(key, NamedFileProblem(kind, volume_, name_sjis)).first;
  }
  std::vector<LineProblem> problems;
  if (cached->second) {
    problems.push_back({Severity::Error, *cached->second});
  } else if (std::optional<LineProblem> match = MatchProblem(kind, name_sjis)) {
    problems.push_back(std::move(*match));
  }
  const std::size_t path_length = place_sjis_length_ + 1 + std::strlen(name_sjis);
  if (kind == NamedFile::Midi && path_length > MIDI_PATH_MAX) {
    problems.push_back({Severity::Error, MidiPathTooLongMessage(
                                             volume_.shift_jis().ToUtf8(name_sjis), path_length)});
  }
  return problems;
}

std::vector<LineProblem> NamedFileCheck::CheckTrack(int track) {
  if (track <= 0) return {};
  const auto file = FindTrackFile(volume_, track);
  if (file) return {};
  return {{Severity::Error, TrackProblemMessage(volume_.shift_jis(), track, file.error())}};
}
