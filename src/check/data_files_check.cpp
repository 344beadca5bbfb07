// Data files: each line is handed to the reader's own store step in a scratch state,
// so that what is checked is what the reader keeps.
#include "check/data_files_check.h"

#include <cstring>
#include <functional>
#include <memory>

#include "check/encoding_rules.h"
#include "data/bookmarks.h"
#include "data/data_file.h"
#include "data/toc.h"
#include "platform/files/author_text.h"
#include "platform/files/volume.h"
#include "reader/reader_state.h"
#include "reader/text_fields.h"

namespace {

// Far more lines than either file's reader takes, so that skipped ones are seen.
constexpr int LINES_LOOKED_AT = 1000;

struct DataLineView {
  int number = 0;                   // as the reader counts lines: the pieces of a long line count
  int file_line = 0;                // as the file counts them
  bool cut = false;                 // a piece of 255 bytes that its file line goes on after
  std::vector<std::string> fields;  // between the commas, up to the line feed
};

std::vector<std::string> SplitAtCommas(const char* line) {
  std::vector<std::string> fields(1);
  for (const char* p = line; *p != '\0' && *p != '\n'; ++p) {
    if (*p == ',') {
      fields.emplace_back();
    } else {
      fields.back() += *p;
    }
  }
  return fields;
}

// Every line that the reader reads, with its place in the file.
void ForEachDataLine(TextFileReader& file,
                     const std::function<void(const DataLineView&, const DataLine&)>& visit) {
  int cut_pieces = 0;
  ReadDataLines(file, LINES_LOOKED_AT, [&](int number, const DataLine& line) {
    DataLineView view;
    view.number = number;
    view.file_line = 1 + number - cut_pieces;
    const std::size_t length = strnlen(line, DATA_LINE_SIZE);
    view.cut = length == DATA_LINE_SIZE - 1 && line[length - 1] != '\n';
    cut_pieces += view.cut ? 1 : 0;
    view.fields = SplitAtCommas(line);
    visit(view, line);
  });
}

class DataFileCheck {
 public:
  DataFileCheck(ShiftJis& shift_jis, DataFileReport& report)
      : shift_jis_(shift_jis), report_(report) {}

  void Error(int line, std::string message) {
    report_.findings.push_back({line, {Severity::Error, std::move(message)}});
  }

  // The checks that both files share; false when the line is past what the reader reads.
  bool CheckLine(const DataLineView& view, const DataLine& line, int count, const char* entry) {
    if (view.number >= count) {
      // Entries that an author wrote are lost; bookmarks past the reader's own five are not.
      const Severity severity = count == TOC_COUNT ? Severity::Error : Severity::Warning;
      if (!skipped_told_) {
        skipped_told_ = true;
        report_.findings.push_back(
            {view.file_line, {severity, "the reader reads no more than " + std::to_string(count) +
                                            " " + entry + "s: from here on nothing is read"}});
      }
      return false;
    }
    if (view.cut) {
      Error(view.file_line,
            std::string("the line is longer than 255 bytes: the reader takes its first 255 bytes "
                        "as one ") +
                entry + " and the rest as the next");
    }
    if (auto problem = LineBytesProblem(shift_jis_, line))
      report_.findings.push_back({view.file_line, *problem});
    return true;
  }

  void CheckFieldLength(const DataLineView& view, std::size_t field, const char* name) {
    if (field >= view.fields.size() || view.fields[field].size() < MENU_TEXT_SIZE) return;
    Error(view.file_line, std::string("the ") + name + " is " +
                              std::to_string(view.fields[field].size()) +
                              " bytes: the reader keeps " + std::to_string(MENU_TEXT_SIZE - 1));
  }

  void AddScript(const char* script_sjis, int file_line) {
    if (script_sjis[0] == '\0' || script_sjis[0] == '\n') return;
    report_.scripts.push_back({script_sjis, file_line});
  }

  ShiftJis& shift_jis() { return shift_jis_; }

 private:
  ShiftJis& shift_jis_;
  DataFileReport& report_;
  bool skipped_told_ = false;
};

void CheckContentsLine(DataFileCheck& check, ReaderState& s, const DataLineView& view,
                       const DataLine& line) {
  if (!check.CheckLine(view, line, TOC_COUNT, "entry")) return;
  StoreTocLine(s, view.number, line);
  const int at = view.file_line;
  const std::size_t commas = view.fields.size() - 1;
  if (commas == 0) return check.Error(at, "no comma: the entry has a label and no script");
  if (view.fields[0].empty())
    check.Error(at, "the label is empty: the menu shows no item for this entry");
  if (commas > 1) {
    check.Error(at, std::to_string(commas) +
                        " commas: the reader writes the text after each comma over the "
                        "script name, so the entry opens " +
                        Excerpt(check.shift_jis(), s.TocFiles[view.number], 100));
  }
  check.CheckFieldLength(view, 0, "label");
  check.CheckFieldLength(view, 1, "script name");
  const char* script = s.TocFiles[view.number];
  if (script[0] == '\0' || script[0] == '\n')
    return check.Error(at, "no script name after the comma");
  check.AddScript(script, at);
}

void CheckBookmarkLine(DataFileCheck& check, ReaderState& s, const DataLineView& view,
                       const DataLine& line) {
  if (!check.CheckLine(view, line, BOOKMARK_COUNT, "bookmark")) return;
  StoreBookmarkLine(s, view.number, line);
  const int at = view.file_line;
  if (view.fields.size() != 3) {
    check.Error(at, std::to_string(view.fields.size()) +
                        " fields where a bookmark has three (label, page, "
                        "script): " +
                        (view.fields.size() < 3 ? "the missing ones keep their defaults"
                                                : "the fourth and later are dropped"));
  }
  check.CheckFieldLength(view, 0, "label");
  check.CheckFieldLength(view, 1, "page");
  check.CheckFieldLength(view, 2, "script name");
  if (view.fields.size() > 1) {
    const std::string& page = view.fields[1];
    const bool number = !page.empty() && page.find_first_not_of("0123456789") == std::string::npos;
    if (!number) {
      check.Error(at, "the page " + Excerpt(check.shift_jis(), page.c_str()) +
                          " is not a number: the reader opens "
                          "page " +
                          std::to_string(ReadDecimal(s.BookmarkPages[view.number])));
    }
  }
  check.AddScript(s.BookmarkFiles[view.number], at);
}

}  // namespace

DataFileReport CheckContentsFile(Volume& volume, const char* name_sjis) {
  ShiftJis& shift_jis = volume.shift_jis();
  DataFileReport report;
  const std::optional<std::string> bytes = ReadCheckedFile(volume, name_sjis, report.findings);
  if (!bytes) return report;
  AuthorTextNotes notes;
  TextFileReader file = AuthorTextFromBytes(shift_jis, *bytes, &notes);
  report.findings = EncodingFindings(*bytes, notes);
  DataFileCheck check(shift_jis, report);
  const auto state = std::make_unique<ReaderState>();
  ForEachDataLine(file, [&](const DataLineView& view, const DataLine& line) {
    CheckContentsLine(check, *state, view, line);
  });
  return report;
}

DataFileReport CheckBookmarkFile(Volume& volume, const char* name_sjis) {
  ShiftJis& shift_jis = volume.shift_jis();
  DataFileReport report;
  const std::optional<std::string> bytes = ReadCheckedFile(volume, name_sjis, report.findings);
  if (!bytes) return report;
  // The reader writes this file in Shift-JIS and reads it so.
  TextFileReader file = TextFileReader::FromBytes(*bytes);
  report.findings = EncodingFindings(*bytes, {});
  DataFileCheck check(shift_jis, report);
  const auto state = std::make_unique<ReaderState>();
  SetBookmarkDefaults(*state);
  ForEachDataLine(file, [&](const DataLineView& view, const DataLine& line) {
    CheckBookmarkLine(check, *state, view, line);
  });
  return report;
}
