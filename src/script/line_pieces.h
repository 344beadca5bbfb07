// Script file lines cut into the line table's pieces of at most 255 bytes, never
// between the two bytes of a double-byte character.
#pragma once

#include <cstddef>
#include <optional>

#include "reader/reader_state.h"

class TextFileReader;

// The bytes of a full 255-byte piece that stay in it: 254 when its last byte would
// begin a double-byte character, counted from the piece's first byte; else all.
std::size_t WholeCharacterCut(const char* piece, std::size_t length);

// Reads a script file piece by piece: the bytes up to and including a line feed, at
// most 255 of them, as the table stores them; a character cut by the 255-byte limit
// begins the next piece instead.
class ScriptLineReader {
 public:
  explicit ScriptLineReader(TextFileReader& file) : file_(file) {}
  // Fills piece with the next piece and its terminator; false at the end of the file.
  bool ReadPiece(char (&piece)[SCRIPT_LINE_SIZE]);
  // The file line, from 1, that the last piece read belongs to.
  int file_line() const { return file_line_; }
  // The bytes of the last piece, a NUL among them counted as any byte.
  std::size_t piece_length() const { return piece_length_; }

 private:
  TextFileReader& file_;
  std::optional<char> carried_;  // the lead byte held back from the piece before
  int file_line_ = 0;
  std::size_t piece_length_ = 0;
  bool line_ended_ = true;  // the piece before ended its file line
};
