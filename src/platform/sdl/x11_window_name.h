// The window's name in the legacy X property WM_NAME, in a form that the X conventions
// allow. SDL writes the caption there as its UTF-8 bytes, a type that the ICCCM does
// not know, so tools and window managers that read only WM_NAME show garbled text.
// WM_NAME gets the caption as Compound Text, or in ASCII where Xlib cannot convert it;
// _NET_WM_NAME keeps SDL's UTF-8.
#pragma once

#include <string>
#include <string_view>

struct SDL_Window;

// Sets WM_NAME of the window after SDL set its caption; nothing outside X11.
void SetLegacyWindowName(SDL_Window* window, const std::string& caption_utf8);

// The caption in ASCII: full-width letters, digits and signs as their ASCII forms, the
// ideographic space as a space, and every other character, control bytes too, as "?".
std::string AsciiCaption(std::string_view caption_utf8);
