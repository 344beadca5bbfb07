// The bytes of an author's file as a whole: UTF-8 that the reader converts, its
// characters that Shift-JIS lacks, a Ctrl-Z before the end, NUL bytes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files/author_text.h"
#include "script/line_rules.h"

std::vector<ScriptFinding> EncodingFindings(std::string_view bytes, const AuthorTextNotes& notes);

// The bytes of a regular file, nothing when there is none; a file far larger than the
// reader ever reads is not read, and is told of in findings.
std::optional<std::string> ReadCheckedFile(const std::string& host_path,
                                           std::vector<ScriptFinding>& findings);
