// The keyboard and the wheel on the page.
#include "app/keys_and_wheel.h"

#include <optional>

#include "app/auto_mode.h"
#include "app/backlog.h"
#include "app/full_screen.h"
#include "app/hold_skip.h"
#include "app/keyboard_choices.h"
#include "app/paragraph_copy.h"
#include "app/picture_alone.h"
#include "app/pointer_click.h"
#include "app/screenshot.h"
#include "app/self_voicing.h"
#include "app/sound_volume.h"
#include "platform/window/message_queue.h"
#include "platform/window/virtual_keys.h"
#include "reader/reader.h"

namespace {

// Alt with a digit sizes the window to that whole factor of the page, up to this.
constexpr WPARAM MAX_KEYED_SCALE = 3;

// Modifiers on their own, auto mode's own key, and the keys that leave the reading
// as it is (speech, the picture alone, the volume, a screenshot) leave auto mode running.
bool StopsAutoMode(WPARAM key) {
  return key != 'A' && key != 'V' && key != VK_SHIFT && key != VK_MENU && !IsPictureAloneKey(key) &&
         !IsVolumeKey(key) && !IsScreenshotKey(key);
}

// A modifier or a key held for itself keeps a Ctrl held to skip from counting as
// part of a combination.
bool CancelsHoldSkip(WPARAM key) { return !IsSkipKey(key) && key != VK_SHIFT; }

// The choice that a digit names, on the keys' row or the keypad.
std::optional<int> ChoiceOfDigit(WPARAM key) {
  if (key >= '0' && key < '0' + CHOICE_COUNT) return static_cast<int>(key - '0');
  if (key >= VK_NUMPAD0 && key < VK_NUMPAD0 + CHOICE_COUNT) {
    return static_cast<int>(key - VK_NUMPAD0);
  }
  return std::nullopt;
}

// What a press does while no choices wait. A held key repeats only the choices'
// arrows: a reader holding Return is not carried through paragraphs unasked.
void OnPageKey(Reader& r, Window& window, WPARAM key) {
  if (IsSkipKey(key)) {
    OnSkipKeyDown(r, window, key);
    return;
  }
  switch (key) {
    case VK_RETURN:
    case VK_SPACE:
    case VK_NEXT:
    case VK_DOWN: ClickAtPointer(r.platform, window); return;
    case VK_UP:
    case VK_PRIOR:
    case VK_BACK: OpenBacklog(r, window); return;
    // As the menu key does: the menu opens at the pointer.
    case VK_ESCAPE: SendMessageA(window, WM_CONTEXTMENU, 0, -1); return;
    case VK_F11: PostMessageA(window, WM_COMMAND, IDM_FULLSCREEN, 0); return;
    case 'A': ToggleAutoMode(r, window); return;
    case 'C': CopyCurrentParagraph(r); return;
    case 'V': ToggleSpeech(r, window); return;
    case 'H': ShowPictureAlone(r, window, key); return;
    case 'R': PostMessageA(window, WM_COMMAND, IDM_CONTINUE, 0); return;
    case 'O': PostMessageA(window, WM_COMMAND, IDM_OPEN_NOVEL, 0); return;
    default: return;
  }
}

void OnChoosingKey(Reader& r, Window& window, WPARAM key, bool repeat) {
  if (key == VK_DOWN || key == VK_UP) {
    MoveChoiceHighlight(r, window, key == VK_DOWN ? 1 : -1);
  } else if (repeat) {
    return;
  } else if (const std::optional<int> choice = ChoiceOfDigit(key)) {
    PickDrawnChoice(r, window, *choice);
  } else {
    OnPageKey(r, window, key);
  }
}

}  // namespace

void OnKeyDown(Reader& r, Window& window, UINT message, WPARAM key, LPARAM lparam) {
  const bool repeat = (HIWORD(static_cast<std::uintptr_t>(lparam)) & KF_REPEAT) != 0;
  if (StopsAutoMode(key)) StopAutoMode(r, window);
  if (CancelsHoldSkip(key) && !repeat) CancelHoldSkip(r, window);
  if (message == WM_SYSKEYDOWN) {
    if (repeat) return;
    if (key == VK_RETURN) PostMessageA(window, WM_COMMAND, IDM_FULLSCREEN, 0);
    if (key >= '1' && key <= '0' + MAX_KEYED_SCALE) ShowAtScale(r, window, static_cast<int>(key - '0'));
    return;
  }
  if (OnVolumeKey(r, window, key, repeat)) return;
  if (IsScreenshotKey(key)) {
    if (!repeat) TakeScreenshot(r, window);
    return;
  }
  if (r.state.Mode == ModeChoosing) {
    OnChoosingKey(r, window, key, repeat);
  } else if (!repeat) {
    OnPageKey(r, window, key);
  }
}

void OnKeyUp(Reader& r, Window& window, WPARAM key) { OnSkipKeyUp(r, window, key); }

void OnMouseWheel(Reader& r, Window& window, WPARAM wparam) {
  const int notches = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
  // Away from the reader: back into what was read, which leaves auto mode running.
  if (notches > 0 && OpenBacklog(r, window)) ScrollBacklog(r, window, 1 - notches);
  // Towards the reader: clicks, which stop it.
  for (int notch = 0; notch < -notches; ++notch) ClickAtPointer(r.platform, window);
}
