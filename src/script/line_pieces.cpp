// Script file lines cut into the line table's pieces between characters.
#include "script/line_pieces.h"

#include <cstring>
#include <string_view>

#include "platform/files/text_file.h"
#include "platform/shift_jis.h"

namespace {

constexpr std::size_t PIECE_MAX = SCRIPT_LINE_SIZE - 1;
// Any byte but NUL: after a read, the last NUL in the buffer is the terminator, so
// NUL bytes inside a line still count for its length.
constexpr char UNWRITTEN = '\x01';

}  // namespace

std::size_t WholeCharacterCut(const char* piece, std::size_t length) {
  if (length != PIECE_MAX || piece[length - 1] == '\n') return length;
  // Characters from the piece's first byte; a lead byte left last is cut from its pair.
  const std::string_view text(piece, length);
  std::size_t pos = 0;
  while (pos < length - 1) pos += ShiftJisCharacterLength(text, pos);
  const bool splits =
      pos == length - 1 && IsShiftJisLeadByte(static_cast<unsigned char>(text[pos]));
  return splits ? length - 1 : length;
}

bool ScriptLineReader::ReadPiece(char (&piece)[SCRIPT_LINE_SIZE]) {
  std::memset(piece, UNWRITTEN, sizeof piece);
  const std::size_t start = carried_ ? 1 : 0;
  if (carried_) piece[0] = *carried_;
  carried_.reset();
  if (!file_.ReadLine(piece + start, sizeof piece - start)) {
    if (start == 0) return false;
    piece[1] = '\0';  // the file ended right after the carried byte
  }
  std::size_t length = sizeof piece - 1;  // the last NUL: the terminator
  while (length > 0 && piece[length] != '\0') --length;
  const std::size_t kept = WholeCharacterCut(piece, length);
  if (kept < length) {
    carried_ = piece[kept];
    piece[kept] = '\0';
  }
  if (line_ended_) ++file_line_;
  line_ended_ = kept > 0 && piece[kept - 1] == '\n';
  piece_length_ = kept;
  return true;
}
