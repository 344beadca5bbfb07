// The bytes of an author's file as a whole: UTF-8 that the reader converts, its
// characters that Shift-JIS lacks, a Ctrl-Z before the end, NUL bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/author_text.h"
#include "script/line_rules.h"

class Volume;

std::vector<ScriptFinding> EncodingFindings(std::string_view bytes, const AuthorTextNotes& notes);

// The bytes of a file of the novel, nothing when there are none; a file far larger
// than the reader ever reads is not read, and it and any other reason why a file
// that is there cannot be read are told of in findings.
std::optional<std::string> ReadCheckedFile(Volume& volume, const char* name_sjis,
                                           std::vector<ScriptFinding>& findings);
