// The text files that authors write, the scripts and the contents file: read in the
// text mode, and converted to CP932 first when they were saved in UTF-8.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/text_file.h"
#include "platform/utf8_text.h"

class ShiftJis;

// What reading an author's file found out about its encoding.
struct AuthorTextNotes {
  bool utf8 = false;
  std::vector<UnconvertedCharacter> unconverted;  // characters now 〓
};

// An author's file read as text. A Shift-JIS file is read byte for byte, as far as
// it is read; a UTF-8 file is recognised and converted from its head, as far as a
// script can use it.
TextFileReader OpenAuthorText(ShiftJis& shift_jis, std::unique_ptr<ByteSource> file,
                              AuthorTextNotes* notes = nullptr);
// The same for bytes already read from such a file.
TextFileReader AuthorTextFromBytes(ShiftJis& shift_jis, std::string_view bytes,
                                   AuthorTextNotes* notes = nullptr);
