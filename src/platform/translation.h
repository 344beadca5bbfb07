// The reader's messages in the reader's language: gettext's catalogue of the domain
// "yomu", as LANG, LC_MESSAGES and LANGUAGE choose. Texts are written in English
// and marked with _() where they are made; the page's own labels are not translated.
#pragma once

#include <libintl.h>

#include <cstdio>
#include <string>

#define _(text) gettext(text)
// A text for the catalogue that is translated where it is used: _(TEXT).
#define N_(text) text

inline const char* FormatArgument(const std::string& text) { return text.c_str(); }
inline const char* FormatArgument(const char* text) { return text; }

// A translated format ("script %s not found in %s") with its values filled in, so
// that each language puts them where its sentence needs them.
template <typename... Values>
std::string Formatted(const char* format, const Values&... values) {
  const int size = std::snprintf(nullptr, 0, format, FormatArgument(values)...);
  if (size <= 0) return {};
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, FormatArgument(values)...);
  text.pop_back();
  return text;
}

// Opens the catalogues: beside the program in the build tree (locale/), else under
// share/locale of its install prefix. Only the messages' locale is taken from the
// environment; the reader's text handling stays as it is.
void StartTranslation();
// Back to the texts as written, for output that tools read.
void StopTranslation();
