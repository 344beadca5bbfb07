// The gamepad's buttons as keys.
#include "app/gamepad.h"

#include <utility>

#include "platform/window/virtual_keys.h"

namespace {

// A advances, B opens the menu (as Escape does) and closes the backlog, Y opens the
// backlog, X turns auto mode on and off, the d-pad moves over choices and through
// the backlog, Start opens the menu, the left shoulder held shows the picture alone.
constexpr std::pair<WPARAM, WPARAM> PAD_KEYS[] = {
    {VK_GAMEPAD_A, VK_RETURN},          {VK_GAMEPAD_B, VK_ESCAPE},
    {VK_GAMEPAD_X, 'A'},                {VK_GAMEPAD_Y, VK_BACK},
    {VK_GAMEPAD_MENU, VK_APPS},         {VK_GAMEPAD_LEFT_SHOULDER, 'H'},
    {VK_GAMEPAD_DPAD_UP, VK_UP},        {VK_GAMEPAD_DPAD_DOWN, VK_DOWN},
    {VK_GAMEPAD_DPAD_LEFT, VK_PRIOR},   {VK_GAMEPAD_DPAD_RIGHT, VK_NEXT},
};

}  // namespace

WPARAM KeyOfPadButton(WPARAM key) {
  for (const auto& [button, stands_for] : PAD_KEYS) {
    if (button == key) return stands_for;
  }
  return key;
}
