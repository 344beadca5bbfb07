// WM_NAME as Compound Text.
#include "platform/sdl/x11_window_name.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xutil.h>

#include <memory>

#include "platform/utf8_text.h"

namespace {

constexpr char32_t FULL_WIDTH_FIRST = 0xFF01;  // "！"
constexpr char32_t FULL_WIDTH_LAST = 0xFF5E;   // "～"
constexpr char32_t FULL_WIDTH_OFFSET = 0xFEE0;
constexpr char32_t IDEOGRAPHIC_SPACE = 0x3000;

struct XFreeDeleter {
  void operator()(unsigned char* value) const { XFree(value); }
};
using OwnedTextBytes = std::unique_ptr<unsigned char, XFreeDeleter>;

char AsciiOf(char32_t code) {
  if (code >= 0x20 && code < 0x7F) return static_cast<char>(code);
  if (code >= FULL_WIDTH_FIRST && code <= FULL_WIDTH_LAST)
    return static_cast<char>(code - FULL_WIDTH_OFFSET);
  return code == IDEOGRAPHIC_SPACE ? ' ' : '?';
}

// The caption as Compound Text, else as ASCII (of type STRING); nothing when Xlib
// makes neither.
OwnedTextBytes LegacyName(Display* display, const std::string& caption_utf8, XTextProperty& name) {
  char* captions[] = {const_cast<char*>(caption_utf8.c_str())};
  const int unconverted =
      Xutf8TextListToTextProperty(display, captions, 1, XCompoundTextStyle, &name);
  if (unconverted == Success) return OwnedTextBytes(name.value);
  if (unconverted > 0) XFree(name.value);
  std::string ascii = AsciiCaption(caption_utf8);
  char* ascii_captions[] = {ascii.data()};
  if (XStringListToTextProperty(ascii_captions, 1, &name) == 0) return nullptr;
  return OwnedTextBytes(name.value);
}

}  // namespace

void SetLegacyWindowName(SDL_Window* window, const std::string& caption_utf8) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return;
  Display* display = info.info.x11.display;
  XTextProperty name{};
  const OwnedTextBytes value = LegacyName(display, caption_utf8, name);
  if (value == nullptr) return;
  XSetWMName(display, info.info.x11.window, &name);
  XFlush(display);
}

std::string AsciiCaption(std::string_view caption_utf8) {
  std::string ascii;
  for (std::size_t at = 0; at < caption_utf8.size();) {
    ascii += AsciiOf(NextUtf8Character(caption_utf8, at));
  }
  return ascii;
}
