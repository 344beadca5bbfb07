// Win32 virtual-key codes by key name.
#include "platform/window/virtual_keys.h"

#include <cctype>
#include <cstdlib>
#include <map>

std::optional<int> VirtualKeyFromName(const std::string& name) {
  static const std::map<std::string, int> kNamed = {
      {"Return", 0x0D}, {"Space", 0x20},  {"Escape", 0x1B}, {"Menu", 0x5D},     {"Application", 0x5D},
      {"Tab", 0x09},    {"Backspace", 0x08}, {"Up", 0x26},  {"Down", 0x28},     {"Left", 0x25},
      {"Right", 0x27},  {"Left Shift", 0x10}, {"Right Shift", 0x10}, {"Shift", 0x10}, {"Keypad Enter", 0x0D}, {"Home", 0x24},  {"End", 0x23},
      {"PageUp", 0x21}, {"PageDown", 0x22}, {"Delete", 0x2E}};
  if (auto found = kNamed.find(name); found != kNamed.end()) return found->second;
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
    const int number = std::atoi(name.c_str() + 1);
    if (number >= 1 && number <= 24) return 0x70 + number - 1;
  }
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    return std::toupper(static_cast<unsigned char>(name[0]));
  }
  return std::nullopt;
}
