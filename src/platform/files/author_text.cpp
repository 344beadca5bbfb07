// Authors' text files: UTF-8 recognised and converted before the text-mode reading.
#include "platform/files/author_text.h"

#include "platform/files/regular_file.h"
#include "platform/utf8_text.h"

std::optional<TextFileReader> OpenAuthorText(ShiftJis& shift_jis, const std::string& host_path,
                                             AuthorTextNotes* notes) {
  const std::optional<std::string> bytes = ReadRegularFile(host_path);
  if (!bytes) return std::nullopt;
  return AuthorTextFromBytes(shift_jis, *bytes, notes);
}

TextFileReader AuthorTextFromBytes(ShiftJis& shift_jis, std::string_view bytes,
                                   AuthorTextNotes* notes) {
  if (!IsUtf8Text(bytes)) return TextFileReader::FromBytes(bytes);
  AuthorTextNotes ignored;
  AuthorTextNotes& kept = notes != nullptr ? *notes : ignored;
  kept.utf8 = true;
  return TextFileReader::FromBytes(Utf8TextToShiftJis(shift_jis, bytes, kept.unconverted));
}
