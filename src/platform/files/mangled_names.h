// The forms that extractors give the Shift-JIS names of archives made on Japanese
// Windows, which store them without saying their code page: unzip converts the
// bytes by its table from the DOS code page to ISO 8859-1, and Python's zipfile
// and other tools read them as code page 437, Windows-1252 or Latin-1 and write
// that as UTF-8. A name is looked for in these forms once it is found in no other.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class Mangling { UnzipOemToIso, Cp437AsUtf8, Cp1252AsUtf8, Latin1AsUtf8 };

inline constexpr Mangling MANGLINGS[] = {Mangling::UnzipOemToIso, Mangling::Cp437AsUtf8,
                                         Mangling::Cp1252AsUtf8, Mangling::Latin1AsUtf8};

// True for the forms written as UTF-8, false for unzip's bytes.
constexpr bool MangledAsUtf8(Mangling how) { return how != Mangling::UnzipOemToIso; }

// The name as that extractor writes it; nothing when the name has no byte above
// 0x7F, whose every form is the name itself.
std::optional<std::string> MangledName(std::string_view name_sjis, Mangling how);
