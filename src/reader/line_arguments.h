// The arguments of script commands: numbers in fixed columns and quoted file names.
#pragma once

#include <cstddef>
#include <cstdint>

// True when a line begins with the command's bytes; the rest of the line plays no part.
bool LineBegins(const char* line, const char* command);

// The decimal number in columns first to last of a line: exactly those bytes, or up
// to the line's end when it is shorter.
std::int32_t ColumnNumber(const char* line, int first, int last);

// The bytes between the first and the second double quote of a line. False, with an
// empty name, when the line has fewer than two quotes or the name does not fit.
bool QuotedName(const char* line, char* name, std::size_t size);
