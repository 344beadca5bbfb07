// Texts in the headless log.
#include "platform/log_text.h"

#include <cstdio>

std::string OneLogLine(std::string_view text_utf8) {
  std::string out;
  for (unsigned char c : text_utf8) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}
