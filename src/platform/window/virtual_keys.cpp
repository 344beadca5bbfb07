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
      {"Left Alt", VK_MENU},     {"Right Alt", VK_MENU},      {"-", VK_OEM_MINUS},
      {"=", VK_OEM_PLUS},        {"+", VK_OEM_PLUS},          {"Keypad -", VK_SUBTRACT},
      {"Keypad +", VK_ADD},      {"PrintScreen", VK_SNAPSHOT}};
  if (auto found = NAMED.find(name); found != NAMED.end()) return static_cast<int>(found->second);
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
    const int number = std::atoi(name.c_str() + 1);
    if (number >= 1 && number <= 24) return static_cast<int>(VK_F1) + number - 1;
  }
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    return std::toupper(static_cast<unsigned char>(name[0]));
  }
  const bool keypad_digit = name.size() == 8 && name.compare(0, 7, "Keypad ") == 0 &&
                            std::isdigit(static_cast<unsigned char>(name[7]));
  if (keypad_digit) {
    return static_cast<int>(VK_NUMPAD0) + (name[7] - '0');
  }
  return std::nullopt;
}

std::optional<int> VirtualPadKeyFromName(const std::string& name) {
  static const std::map<std::string, WPARAM> BUTTONS = {
      {"a", VK_GAMEPAD_A},
      {"b", VK_GAMEPAD_B},
      {"x", VK_GAMEPAD_X},
      {"y", VK_GAMEPAD_Y},
      {"start", VK_GAMEPAD_MENU},
      {"back", VK_GAMEPAD_VIEW},
      {"leftshoulder", VK_GAMEPAD_LEFT_SHOULDER},
      {"rightshoulder", VK_GAMEPAD_RIGHT_SHOULDER},
      {"leftstick", VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON},
      {"rightstick", VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON},
      {"dpup", VK_GAMEPAD_DPAD_UP},
      {"dpdown", VK_GAMEPAD_DPAD_DOWN},
      {"dpleft", VK_GAMEPAD_DPAD_LEFT},
      {"dpright", VK_GAMEPAD_DPAD_RIGHT}};
  const auto found = BUTTONS.find(name);
  if (found == BUTTONS.end()) return std::nullopt;
  return static_cast<int>(found->second);
}
