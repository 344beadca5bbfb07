// The paragraphs read in this run.
#include "reader/read_history.h"

#include <algorithm>

#include "reader/read_marks.h"
#include "reader/reader.h"

void ReadHistory::Add(std::string paragraph_sjis, bool choice) {
  paragraphs_.push_back({std::move(paragraph_sjis), choice});
  if (paragraphs_.size() > READ_HISTORY_SIZE) {
    paragraphs_.pop_front();
    ++forgotten_;
  }
}

namespace {
bool IsBlank(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}
}  // namespace

std::optional<std::string_view> RecordParagraph(Reader& r, std::string_view line_sjis,
                                                int same_lines_before) {
  while (!line_sjis.empty() && (line_sjis.back() == '\n' || line_sjis.back() == '\r')) {
    line_sjis.remove_suffix(1);
  }
  if (IsBlank(line_sjis)) return std::nullopt;
  r.aids.history.Add(std::string(line_sjis));
  MarkParagraphRead(r, line_sjis, same_lines_before);
  return line_sjis;
}

void RecordChoice(Reader& r, std::string_view choice_sjis) {
  while (!choice_sjis.empty() && static_cast<unsigned char>(choice_sjis.back()) <= ' ') {
    choice_sjis.remove_suffix(1);
  }
  if (!IsBlank(choice_sjis)) r.aids.history.Add(std::string(choice_sjis), true);
}
