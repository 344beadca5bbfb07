// The paragraphs read in this run, newest last, for the backlog and the clipboard.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

// How many paragraphs the history keeps; older ones are forgotten.
constexpr std::size_t READ_HISTORY_SIZE = 1000;

class ReadHistory {
 public:
  // Paragraphs are numbered from 0 in the order they were read; a number stays with
  // its paragraph while older ones are forgotten.
  void Add(std::string paragraph_sjis);
  bool empty() const { return paragraphs_.empty(); }
  std::uint64_t first() const { return forgotten_; }
  std::uint64_t newest() const { return forgotten_ + paragraphs_.size() - 1; }
  bool Holds(std::uint64_t number) const {
    return number >= forgotten_ && number - forgotten_ < paragraphs_.size();
  }
  const std::string& At(std::uint64_t number) const { return paragraphs_.at(number - forgotten_); }

 private:
  std::deque<std::string> paragraphs_;
  std::uint64_t forgotten_ = 0;
};

// The paragraph of a script line as it is drawn: its line end dropped; nullopt for a
// blank line, which is no paragraph.
std::optional<std::string_view> ParagraphOf(std::string_view line_sjis);
