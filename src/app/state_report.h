// The state block of the headless runner: one line per field, "@T state Name=value",
// texts as UTF-8 with a line feed written \n. Tools read it: change it only by adding.
#pragma once

#include <cstdint>
#include <ostream>

struct Reader;

void WriteStateReport(Reader& r, std::uint64_t now_ms, std::ostream& out);
