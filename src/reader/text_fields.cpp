// Bounded copies into text fields and the decimal conversion.
#include "reader/text_fields.h"

#include <limits>

void CopyBytes(char* destination, std::size_t size, const char* source) {
  if (size == 0) return;
  const std::size_t length = strnlen(source, size - 1);
  std::memcpy(destination, source, length);
  destination[length] = '\0';
}

void CopyLineBytes(char* destination, std::size_t size, const char* source) {
  if (size == 0) return;
  std::size_t length = 0;
  while (length + 1 < size && source[length] != '\0' && source[length] != '\n') ++length;
  std::memcpy(destination, source, length);
  destination[length] = '\0';
}

std::int32_t ReadDecimal(const char* text) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  std::int64_t value = 0;
  constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  for (; *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > limit) value = limit;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max())
    value = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}
