// Bounded copies and formatting into the reader's fixed-width text fields, and the
// decimal conversion of the old runtime. No call site can overrun a field.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string_view>

// Copies a NUL-terminated string, cut to the field's width.
void CopyBytes(char* destination, std::size_t size, const char* source);
template <std::size_t N>
void CopyField(char (&destination)[N], const char* source) {
  CopyBytes(destination, N, source);
}

// A field's text: its bytes up to the first NUL, or all of them when it has none.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  return {field, strnlen(field, N)};
}

// Copies the bytes up to, not including, the first line feed or NUL, cut to the field.
void CopyLineBytes(char* destination, std::size_t size, const char* source);
template <std::size_t N>
void CopyRestOfLine(char (&destination)[N], const char* source) {
  CopyLineBytes(destination, N, source);
}

// snprintf into a field: the text is cut at the field's width.
template <std::size_t N>
void FormatField(char (&destination)[N], const char* format, ...)
    __attribute__((format(printf, 2, 3)));
template <std::size_t N>
void FormatField(char (&destination)[N], const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(destination, N, format, arguments);
  va_end(arguments);
}

// As atoi: leading white space, an optional sign, digits up to the first other byte;
// 0 without digits. Saturates at the limits of int32 instead of overflowing.
std::int32_t ReadDecimal(const char* text);
