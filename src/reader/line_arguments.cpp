// The arguments of script commands.
#include "reader/line_arguments.h"

#include <cstring>

#include "reader/reader_state.h"
#include "reader/text_fields.h"

bool LineBegins(const char* line, const char* command) {
  return std::strncmp(line, command, std::strlen(command)) == 0;
}

std::int32_t ColumnNumber(const char* line, int first, int last) {
  char field[SCRIPT_LINE_SIZE] = {};
  int length = 0;
  for (int column = 0; column <= last && column < SCRIPT_LINE_SIZE - 1 && line[column] != '\0';
       ++column) {
    if (column >= first) field[length++] = line[column];
  }
  return ReadDecimal(field);
}

bool QuotedName(const char* line, char* name, std::size_t size) {
  if (size > 0) name[0] = '\0';
  const char* open = std::strchr(line, '"');
  if (open == nullptr) return false;
  const char* close = std::strchr(open + 1, '"');
  if (close == nullptr) return false;
  const std::size_t length = static_cast<std::size_t>(close - open - 1);
  if (length + 1 > size) return false;
  std::memcpy(name, open + 1, length);
  name[length] = '\0';
  return true;
}
