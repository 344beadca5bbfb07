// The walk over a novel's files. Each script is read into a line table of its own
// with the reader's loader, and looked at line by line, file by file, and as a whole.
#include "check/novel_walk.h"

#include <algorithm>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>

#include "check/data_files_check.h"
#include "check/encoding_rules.h"
#include "check/named_files_check.h"
#include "check/structure_rules.h"
#include "platform/files/author_text.h"
#include "platform/files/volume.h"
#include "platform/shift_jis.h"
#include "reader/line_arguments.h"
#include "reader/text_fields.h"
#include "reader/texts.h"
#include "script/line_table.h"
#include "script/script_commands.h"

namespace {

// A script to look at, and the line that names it (none for the first script).
struct ScriptReference {
  std::string name_sjis;
  std::string from_file;
  int from_line = 0;
};

class NovelWalk {
 public:
  explicit NovelWalk(Volume& volume)
      : volume_(volume), shift_jis_(volume.shift_jis()), files_(volume) {}

  NovelCheck Run() {
    queue_.push_back({texts::FIRST_SCRIPT, "", 0});
    CheckDataFile(texts::TOC_FILE, CheckContentsFile);
    CheckDataFile(texts::BOOKMARK_FILE, CheckBookmarkFile);
    while (!queue_.empty()) {
      const ScriptReference reference = queue_.front();
      queue_.pop_front();
      VisitScript(reference);
    }
    return {Sorted(), static_cast<int>(visited_.size())};
  }

 private:
  int FileRank(const std::string& file) {
    return ranks_.emplace(file, static_cast<int>(ranks_.size())).first->second;
  }

  void Add(const std::string& file, int line, const LineProblem& problem) {
    FileRank(file);
    findings_.push_back({file, line, problem.severity, problem.message});
  }
  void AddAll(const std::string& file, const std::vector<ScriptFinding>& findings) {
    for (const ScriptFinding& finding : findings) Add(file, finding.file_line, finding.problem);
  }
  void AddAll(const std::string& file, int line, const std::vector<LineProblem>& problems) {
    for (const LineProblem& problem : problems) Add(file, line, problem);
  }

  std::vector<Finding> Sorted() {
    std::stable_sort(findings_.begin(), findings_.end(),
                     [this](const Finding& a, const Finding& b) {
                       const int rank_a = ranks_.at(a.file);
                       const int rank_b = ranks_.at(b.file);
                       return rank_a != rank_b ? rank_a < rank_b : a.line < b.line;
                     });
    return findings_;
  }

  template <typename Check>
  void CheckDataFile(const char* name_sjis, Check check) {
    const std::string file = shift_jis_.ToUtf8(name_sjis);
    const DataFileReport report = check(volume_, name_sjis);
    AddAll(file, report.findings);
    for (const DataFileReport::Entry& entry : report.scripts) {
      queue_.push_back({entry.script_sjis, file, entry.file_line});
    }
  }

  void VisitScript(const ScriptReference& reference) {
    const std::vector<LineProblem> problems =
        files_.Check(NamedFile::Script, reference.name_sjis.c_str());
    const std::string file = shift_jis_.ToUtf8(reference.name_sjis);
    AddAll(reference.from_line > 0 ? reference.from_file : file, reference.from_line, problems);
    const bool missing =
        std::any_of(problems.begin(), problems.end(),
                    [](const LineProblem& problem) { return problem.severity == Severity::Error; });
    if (missing) return;
    const FileOr<NovelFile> found = volume_.Find(reference.name_sjis);
    if (!found || !visited_.insert(found->path).second) return;
    CheckScript(file, reference.name_sjis);
  }

  void CheckScript(const std::string& file, const std::string& name_sjis) {
    std::vector<ScriptFinding> too_large;
    const std::optional<std::string> bytes =
        ReadCheckedFile(volume_, name_sjis.c_str(), too_large);
    AddAll(file, too_large);
    if (!bytes) return;
    AuthorTextNotes encoding;
    TextFileReader text = AuthorTextFromBytes(shift_jis_, *bytes, &encoding);
    const auto state = std::make_unique<ReaderState>();
    ScriptTableNotes notes;
    ReadScriptTable(text, state->ScriptLines, shift_jis_, &notes);
    AddAll(file, EncodingFindings(*bytes, encoding));
    AddAll(file, notes.findings);
    AddAll(file, StructureFindings(*state, notes));
    for (int slot = 0; slot < notes.slot_count; ++slot) {
      CheckNamedFiles(file, notes.file_lines[static_cast<std::size_t>(slot)],
                      state->ScriptLines[slot]);
    }
  }

  // The files that a line names, each taken from the line as its command takes it.
  void CheckNamedFiles(const std::string& file, int line_number, const char* line) {
    const ScriptCommand command = RecogniseCommand(line);
    NamedFile kind = NamedFile::Picture;
    switch (FileNamedBy(command)) {
      case CommandFile::None: return;
      case CommandFile::Script: return QueueScript(file, line_number, line);
      case CommandFile::CdTrack:
        return AddAll(file, line_number, files_.CheckTrack(ReadNumber(line, CD_TRACK_COLUMNS)));
      case CommandFile::Picture: break;
      case CommandFile::Sound: kind = NamedFile::Sound; break;
      case CommandFile::Midi: kind = NamedFile::Midi; break;
    }
    // A line without a whole name is told of by the line's own rules.
    std::string name(CommandNameSize(command), '\0');
    if (!QuotedName(line, name.data(), name.size()) || name[0] == '\0') return;
    AddAll(file, line_number, files_.Check(kind, name.c_str()));
  }

  void QueueScript(const std::string& file, int line_number, const char* line) {
    char name[SCRIPT_NAME_SIZE] = {};
    if (line[SCRIPT_NAME_COLUMN - 1] != '\0') CopyRestOfLine(name, line + SCRIPT_NAME_COLUMN);
    if (name[0] != '\0') queue_.push_back({name, file, line_number});
  }

  Volume& volume_;
  ShiftJis& shift_jis_;
  NamedFileCheck files_;
  std::deque<ScriptReference> queue_;
  std::set<std::string> visited_;     // stored paths of the scripts looked at
  std::map<std::string, int> ranks_;  // files in the order the walk met them
  std::vector<Finding> findings_;
};

}  // namespace

NovelCheck CheckNovel(Volume& volume) { return NovelWalk(volume).Run(); }
