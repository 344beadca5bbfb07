// Read marks.
#include "reader/read_marks.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/translation.h"
#include "reader/reader.h"
#include "reader/text_fields.h"

namespace {

constexpr std::uint64_t FNV_OFFSET = 14695981039346656037u;
constexpr std::uint64_t FNV_PRIME = 1099511628211u;

class Fnv1a {
 public:
  // Each part ends with a NUL byte, so that no two splits of the same bytes meet.
  void Part(std::string_view bytes, bool fold_case = false) {
    for (const char c : bytes) {
      const auto byte = static_cast<unsigned char>(c);
      Byte(fold_case && byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte);
    }
    Byte(0);
  }
  std::uint64_t hash() const { return hash_; }

 private:
  void Byte(unsigned byte) { hash_ = (hash_ ^ byte) * FNV_PRIME; }
  std::uint64_t hash_ = FNV_OFFSET;
};

}  // namespace

std::uint64_t ReadMarkOf(std::string_view script_name_sjis, std::string_view paragraph_sjis,
                         int same_lines_before) {
  Fnv1a hash;
  hash.Part(script_name_sjis, true);
  hash.Part(paragraph_sjis);
  hash.Part(std::to_string(same_lines_before));
  return hash.hash();
}

bool ReadMarks::Add(std::uint64_t mark) {
  if (Holds(mark)) return false;
  ++unread_seen_;
  if (full()) return true;
  marks_.insert(mark);
  unsaved = true;
  return true;
}

std::vector<std::uint64_t> ReadMarks::Sorted() const {
  std::vector<std::uint64_t> marks(marks_.begin(), marks_.end());
  std::sort(marks.begin(), marks.end());
  return marks;
}

void ReadMarks::Replace(const std::vector<std::uint64_t>& marks) {
  marks_.clear();
  Merge(marks);
}

void ReadMarks::Merge(const std::vector<std::uint64_t>& marks) {
  marks_.reserve(std::min(marks_.size() + marks.size(), READ_MARKS_MAX));
  for (std::size_t k = 0; k < marks.size() && !full(); ++k) marks_.insert(marks[k]);
}

void MarkParagraphRead(Reader& r, std::string_view paragraph_sjis, int same_lines_before) {
  const std::string_view name_sjis = FieldText(r.state.ScriptFileName);
  ReadMarks& marks = r.aids.read_marks;
  if (!marks.Add(ReadMarkOf(name_sjis, paragraph_sjis, same_lines_before)) || !marks.full()) return;
  r.platform.Warn(Formatted(_("this novel's %s read marks are all taken: later paragraphs are "
                              "not marked read"),
                            std::to_string(READ_MARKS_MAX)));
}
