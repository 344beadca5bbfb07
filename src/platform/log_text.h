// Texts in the headless log: each value on its one line.
#pragma once

#include <string>
#include <string_view>

// The text with a line feed written as \n, a backslash as \\ and any other control
// byte as \xHH.
std::string OneLogLine(std::string_view text_utf8);
