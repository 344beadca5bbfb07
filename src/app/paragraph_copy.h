// A paragraph read so far, copied to the clipboard as UTF-8 for looking words up.
#pragma once

#include <cstdint>

struct Reader;

void CopyParagraph(Reader& r, std::uint64_t number);
// The paragraph drawn last.
void CopyCurrentParagraph(Reader& r);
