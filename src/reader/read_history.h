// The paragraphs read in this run, newest last, with the choices taken between
// them, for the backlog, the clipboard and the text that a dictionary tool follows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

struct Reader;

// How many paragraphs the history keeps; older ones are forgotten.
constexpr std::size_t READ_HISTORY_SIZE = 1000;

class ReadHistory {
 public:
  // Paragraphs are numbered from 0 in the order they were read; a number stays with
  // its paragraph while older ones are forgotten.
  void Add(std::string paragraph_sjis, bool choice = false);
  bool empty() const { return paragraphs_.empty(); }
  std::uint64_t first() const { return forgotten_; }
  std::uint64_t newest() const { return forgotten_ + paragraphs_.size() - 1; }
  bool Holds(std::uint64_t number) const {
    return number >= forgotten_ && number - forgotten_ < paragraphs_.size();
  }
  const std::string& At(std::uint64_t number) const { return Entry(number).text_sjis; }
  // The entry is a choice that was taken, not a paragraph.
  bool IsChoice(std::uint64_t number) const { return Entry(number).choice; }

 private:
  struct Read {
    std::string text_sjis;
    bool choice;
  };
  const Read& Entry(std::uint64_t number) const { return paragraphs_.at(number - forgotten_); }
  std::deque<Read> paragraphs_;
  std::uint64_t forgotten_ = 0;
};

// A paragraph of the script as it is drawn (its line end dropped): kept in the
// history and marked read; nullopt for a blank line, which is no paragraph.
// same_lines_before: the lines of its file before it that hold the same bytes.
std::optional<std::string_view> RecordParagraph(Reader& r, std::string_view line_sjis,
                                                int same_lines_before);
// A choice taken, as its slot holds it: kept in the history.
void RecordChoice(Reader& r, std::string_view choice_sjis);
