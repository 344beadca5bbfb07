// Read marks: every paragraph that has appeared on the page, for the novel, kept
// across runs so that a skip can pass what was read and stop at what was not.
// A mark stands for the script's name, the paragraph's bytes and how many lines of
// the same bytes come before it in its file: not its line number, so that an
// author's new version of a script keeps the marks of every paragraph it leaves as
// it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_set>
#include <vector>

struct Reader;

// How many marks a novel keeps; past them paragraphs appear unmarked.
constexpr std::size_t READ_MARKS_MAX = 100'000;

// A 64-bit FNV-1a hash of the name (its ASCII letters in lower case, as the old file
// system matched names), the paragraph and the count.
std::uint64_t ReadMarkOf(std::string_view script_name_sjis, std::string_view paragraph_sjis,
                         int same_lines_before);

class ReadMarks {
 public:
  // True when the mark is new: the paragraph had not been read before.
  bool Add(std::uint64_t mark);
  bool Holds(std::uint64_t mark) const { return marks_.count(mark) != 0; }
  bool full() const { return marks_.size() >= READ_MARKS_MAX; }
  // The marks, ascending, for the file.
  std::vector<std::uint64_t> Sorted() const;
  // Replaces the marks with those of the file, at most READ_MARKS_MAX of them.
  void Replace(const std::vector<std::uint64_t>& marks);
  // Adds the marks that another reader saved, up to READ_MARKS_MAX in all: no paragraph
  // of this run counts as newly read for them.
  void Merge(const std::vector<std::uint64_t>& marks);

  // Paragraphs that appeared unread in this run: a skip of read text stops when
  // the count moves.
  std::uint64_t unread_seen() const { return unread_seen_; }
  // Marks were added since the file was last written.
  bool unsaved = false;
  std::uint64_t saved_ms = 0;  // when the file was last written

 private:
  std::unordered_set<std::uint64_t> marks_;
  std::uint64_t unread_seen_ = 0;
};

// A paragraph has appeared: it is marked read. same_lines_before: the lines of its
// file before it that hold the same bytes.
void MarkParagraphRead(Reader& r, std::string_view paragraph_sjis, int same_lines_before);
