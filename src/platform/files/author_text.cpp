// Authors' text files: UTF-8 recognised and converted before the text-mode reading.
#include "platform/files/author_text.h"

#include <algorithm>
#include <memory>

#include "platform/files/read_limits.h"
#include "platform/shift_jis.h"
#include "platform/utf8_text.h"

namespace {

constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";
constexpr std::size_t LONGEST_CHARACTER = 4;

// A head cut before the file's end ends with its last whole character.
void CutAtWholeCharacter(std::string& head) {
  std::size_t lead = head.size();
  while (lead > 0 && head.size() - lead < LONGEST_CHARACTER &&
         (static_cast<unsigned char>(head[lead - 1]) & 0xC0) == 0x80) {
    --lead;
  }
  if (lead == 0) return;
  const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(head[lead - 1]));
  if (head.size() - (lead - 1) < length) head.resize(lead - 1);
}

// The head of a UTF-8 file, as far as a script can use it; nothing as soon as a byte
// shows that the file is no UTF-8 (mostly in its first block), or when the head
// holds no multi-byte character.
std::optional<std::string> Utf8Head(ByteSource& file) {
  const auto head_size =
      static_cast<std::size_t>(std::min<std::uint64_t>(file.size(), AUTHOR_TEXT_HEAD_BYTES));
  std::string head;
  std::size_t well_formed = 0;
  while (head.size() < head_size) {
    const std::size_t start = head.size();
    head.resize(std::min<std::size_t>(head_size, start + TEXT_FILE_BLOCK_BYTES));
    const std::size_t count = file.ReadAt(
        start, {reinterpret_cast<std::uint8_t*>(head.data() + start), head.size() - start});
    head.resize(start + count);
    if (count == 0) break;
    well_formed += WellFormedUtf8Length(std::string_view(head).substr(well_formed));
    const bool broken = head.size() - well_formed >= LONGEST_CHARACTER;
    if (broken && !head.starts_with(UTF8_BOM)) return std::nullopt;
  }
  if (head.size() < file.size()) CutAtWholeCharacter(head);
  if (!IsUtf8Text(head)) return std::nullopt;
  return head;
}

}  // namespace

TextFileReader OpenAuthorText(ShiftJis& shift_jis, std::unique_ptr<ByteSource> file,
                              AuthorTextNotes* notes) {
  if (const std::optional<std::string> head = Utf8Head(*file)) {
    return AuthorTextFromBytes(shift_jis, *head, notes);
  }
  return TextFileReader(std::move(file));
}

TextFileReader AuthorTextFromBytes(ShiftJis& shift_jis, std::string_view bytes,
                                   AuthorTextNotes* notes) {
  if (!IsUtf8Text(bytes)) return TextFileReader::FromBytes(bytes);
  AuthorTextNotes ignored;
  AuthorTextNotes& kept = notes != nullptr ? *notes : ignored;
  kept.utf8 = true;
  return TextFileReader::FromBytes(Utf8TextToShiftJis(shift_jis, bytes, kept.unconverted));
}
