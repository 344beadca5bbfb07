// Win32 virtual-key codes by key name.
#include "platform/window/virtual_keys.h"

#include <cctype>
#include <cstdlib>
#include <map>

std::optional<int> VirtualKeyFromName(const std::string& name) {
  static const std::map<std::string, WPARAM> NAMED = {
      {"Return", VK_RETURN},     {"Keypad Enter", VK_RETURN}, {"Space", VK_SPACE},
      {"Escape", VK_ESCAPE},     {"Menu", VK_APPS},           {"Application", VK_APPS},
      {"Tab", VK_TAB},           {"Backspace", VK_BACK},      {"Up", VK_UP},
      {"Down", VK_DOWN},         {"Left", VK_LEFT},           {"Right", VK_RIGHT},
      {"Shift", VK_SHIFT},       {"Left Shift", VK_SHIFT},    {"Right Shift", VK_SHIFT},
      {"Home", VK_HOME},         {"End", VK_END},             {"PageUp", VK_PRIOR},
      {"PageDown", VK_NEXT},     {"Delete", VK_DELETE},       {"Ctrl", VK_CONTROL},
      {"Left Ctrl", VK_CONTROL}, {"Right Ctrl", VK_CONTROL},  {"Alt", VK_MENU},
      {"Left Alt", VK_MENU},     {"Right Alt", VK_MENU}};
  if (auto found = NAMED.find(name); found != NAMED.end()) return static_cast<int>(found->second);
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
    const int number = std::atoi(name.c_str() + 1);
    if (number >= 1 && number <= 24) return static_cast<int>(VK_F1) + number - 1;
  }
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    return std::toupper(static_cast<unsigned char>(name[0]));
  }
  return std::nullopt;
}
