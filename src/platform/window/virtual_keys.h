// Win32 virtual-key codes, and the codes of the key and gamepad button names both
// backends speak (SDL's names). A gamepad's buttons arrive as keys of their own, as
// the window system's gamepad keys do.
#pragma once

#include <optional>
#include <string>

#include "platform/win32_types.h"

constexpr WPARAM VK_MBUTTON = 0x04;  // the middle mouse button
constexpr WPARAM VK_BACK = 0x08;
constexpr WPARAM VK_TAB = 0x09;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_SHIFT = 0x10;
constexpr WPARAM VK_CONTROL = 0x11;
constexpr WPARAM VK_MENU = 0x12;  // Alt
constexpr WPARAM VK_ESCAPE = 0x1B;
constexpr WPARAM VK_SPACE = 0x20;
constexpr WPARAM VK_PRIOR = 0x21;  // Page Up
constexpr WPARAM VK_NEXT = 0x22;   // Page Down
constexpr WPARAM VK_END = 0x23;
constexpr WPARAM VK_HOME = 0x24;
constexpr WPARAM VK_LEFT = 0x25;
constexpr WPARAM VK_UP = 0x26;
constexpr WPARAM VK_RIGHT = 0x27;
constexpr WPARAM VK_DOWN = 0x28;
constexpr WPARAM VK_SNAPSHOT = 0x2C;  // Print Screen
constexpr WPARAM VK_DELETE = 0x2E;
constexpr WPARAM VK_APPS = 0x5D;  // the menu key
constexpr WPARAM VK_NUMPAD0 = 0x60;  // to VK_NUMPAD9, 0x69
constexpr WPARAM VK_ADD = 0x6B;       // keypad +
constexpr WPARAM VK_SUBTRACT = 0x6D;  // keypad -
constexpr WPARAM VK_F1 = 0x70;
constexpr WPARAM VK_F10 = 0x79;
constexpr WPARAM VK_F11 = 0x7A;
constexpr WPARAM VK_F12 = 0x7B;
constexpr WPARAM VK_OEM_PLUS = 0xBB;
constexpr WPARAM VK_OEM_MINUS = 0xBD;

constexpr WPARAM VK_GAMEPAD_A = 0xC3;  // the south button
constexpr WPARAM VK_GAMEPAD_B = 0xC4;  // east
constexpr WPARAM VK_GAMEPAD_X = 0xC5;  // west
constexpr WPARAM VK_GAMEPAD_Y = 0xC6;  // north
constexpr WPARAM VK_GAMEPAD_RIGHT_SHOULDER = 0xC7;
constexpr WPARAM VK_GAMEPAD_LEFT_SHOULDER = 0xC8;
constexpr WPARAM VK_GAMEPAD_DPAD_UP = 0xCB;
constexpr WPARAM VK_GAMEPAD_DPAD_DOWN = 0xCC;
constexpr WPARAM VK_GAMEPAD_DPAD_LEFT = 0xCD;
constexpr WPARAM VK_GAMEPAD_DPAD_RIGHT = 0xCE;
constexpr WPARAM VK_GAMEPAD_MENU = 0xCF;  // Start
constexpr WPARAM VK_GAMEPAD_VIEW = 0xD0;  // Back
constexpr WPARAM VK_GAMEPAD_LEFT_THUMBSTICK_BUTTON = 0xD1;
constexpr WPARAM VK_GAMEPAD_RIGHT_THUMBSTICK_BUTTON = 0xD2;

std::optional<int> VirtualKeyFromName(const std::string& name);
// A gamepad button by SDL's name for it: "a", "b", "x", "y", "start", "back",
// "leftshoulder", "rightshoulder", "leftstick", "rightstick", "dpup", "dpdown",
// "dpleft", "dpright".
std::optional<int> VirtualPadKeyFromName(const std::string& name);
