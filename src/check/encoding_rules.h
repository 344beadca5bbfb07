// The bytes of an author's file as a whole: UTF-8 that the reader converts, its
// characters that Shift-JIS lacks, a Ctrl-Z before the end, NUL bytes.
#pragma once

#include <string_view>
#include <vector>

#include "platform/files/author_text.h"
#include "script/line_rules.h"

std::vector<ScriptFinding> EncodingFindings(std::string_view bytes, const AuthorTextNotes& notes);
