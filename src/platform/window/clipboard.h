// The system's clipboard, which takes a paragraph's text.
#pragma once

#include <string_view>

class Platform;

// Replaces the clipboard's contents with a text.
bool SetClipboardText(Platform& platform, std::string_view text_utf8);
