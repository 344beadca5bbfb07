// The paragraphs read in this run.
#include "reader/read_history.h"

#include <algorithm>

void ReadHistory::Add(std::string paragraph_sjis) {
  paragraphs_.push_back(std::move(paragraph_sjis));
  if (paragraphs_.size() > READ_HISTORY_SIZE) {
    paragraphs_.pop_front();
    ++forgotten_;
  }
}

std::optional<std::string_view> ParagraphOf(std::string_view line_sjis) {
  while (!line_sjis.empty() && (line_sjis.back() == '\n' || line_sjis.back() == '\r')) {
    line_sjis.remove_suffix(1);
  }
  const bool blank = std::all_of(line_sjis.begin(), line_sjis.end(),
                                 [](char c) { return static_cast<unsigned char>(c) <= ' '; });
  if (blank) return std::nullopt;
  return line_sjis;
}
