// The byte walk that splits a line of the bookmark or contents file into fields.
#pragma once

#include <cstddef>

// Calls store(field, position, byte) for every byte of the line that goes into a field:
// field counts the commas passed, position restarts at 0 after each comma. The byte right
// after a comma is data whatever it is, another comma or the line feed included; a line
// feed after any other stored byte ends the walk, and so does the terminator.
template <std::size_t N, typename Store>
void WalkFields(const char (&line)[N], Store&& store) {
  // Past the buffer reads as a terminator, so no byte behind it is ever looked at.
  const auto at = [&line](std::size_t index) { return index < N ? line[index] : '\0'; };
  std::size_t index = 0;
  int field = 0;
  std::size_t position = 0;
  for (;;) {
    char byte = at(index);
    if (byte == '\0') return;
    if (byte == ',') {
      ++index;
      ++field;
      position = 0;
      byte = at(index);
      // A comma right before the terminator (a last line without a line feed, or a piece
      // cut at 255 bytes): the line ends there and the new field gets no byte.
      if (byte == '\0') return;
    }
    store(field, position, byte);
    ++position;
    if (at(index + 1) == '\n') return;
    ++index;
  }
}
