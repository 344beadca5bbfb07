// The keyboard and the wheel on the page.
#include "app/keys_and_wheel.h"

#include "app/auto_mode.h"
#include "app/backlog.h"
#include "app/hold_skip.h"
#include "app/keyboard_choices.h"
#include "app/paragraph_copy.h"
#include "app/pointer_click.h"
#include "app/self_voicing.h"
#include "platform/window/message_queue.h"
#include "platform/window/virtual_keys.h"
#include "reader/reader.h"

namespace {

// Modifiers on their own, auto mode's own key and speech's leave auto mode running.
bool StopsAutoMode(WPARAM key) {
  return key != 'A' && key != 'V' && key != VK_SHIFT && key != VK_MENU;
}

// What a press does while no choices wait. A held key repeats only the choices'
// arrows: a reader holding Return is not carried through paragraphs unasked.
void OnPageKey(Reader& r, Window& window, WPARAM key) {
  switch (key) {
    case VK_RETURN:
    case VK_SPACE:
    case VK_NEXT:
    case VK_DOWN: ClickAtPointer(window); return;
    case VK_UP:
    case VK_PRIOR:
    case VK_BACK: OpenBacklog(r, window); return;
    // As the menu key does: the menu opens at the pointer.
    case VK_ESCAPE: SendMessageA(window, WM_CONTEXTMENU, 0, -1); return;
    case VK_F11: PostMessageA(window, WM_COMMAND, IDM_FULLSCREEN, 0); return;
    case VK_CONTROL: OnCtrlDown(r, window); return;
    case 'A': ToggleAutoMode(r, window); return;
    case 'C': CopyCurrentParagraph(r); return;
    case 'V': ToggleSpeech(r, window); return;
    default: return;
  }
}

void OnChoosingKey(Reader& r, Window& window, WPARAM key, bool repeat) {
  if (key == VK_DOWN || key == VK_UP) {
    MoveChoiceHighlight(r, window, key == VK_DOWN ? 1 : -1);
  } else if (repeat) {
    return;
  } else if (key >= '1' && key <= '0' + CHOICE_COUNT) {
    PickDrawnChoice(r, window, static_cast<int>(key - '1'));
  } else {
    OnPageKey(r, window, key);
  }
}

}  // namespace

void OnKeyDown(Reader& r, Window& window, UINT message, WPARAM key, LPARAM lparam) {
  const bool repeat = (HIWORD(static_cast<std::uintptr_t>(lparam)) & KF_REPEAT) != 0;
  if (StopsAutoMode(key)) StopAutoMode(r, window);
  if (key != VK_CONTROL && !repeat) CancelHoldSkip(r, window);
  if (message == WM_SYSKEYDOWN) {
    if (key == VK_RETURN && !repeat) PostMessageA(window, WM_COMMAND, IDM_FULLSCREEN, 0);
    return;
  }
  if (r.state.Mode == ModeChoosing) {
    OnChoosingKey(r, window, key, repeat);
  } else if (!repeat) {
    OnPageKey(r, window, key);
  }
}

void OnKeyUp(Reader& r, Window& window, WPARAM key) {
  if (key == VK_CONTROL) OnCtrlUp(r, window);
}

void OnMouseWheel(Reader& r, Window& window, WPARAM wparam) {
  StopAutoMode(r, window);
  const int notches = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
  // Away from the reader: back into what was read.
  if (notches > 0 && OpenBacklog(r, window)) ScrollBacklog(r, window, 1 - notches);
  for (int notch = 0; notch < -notches; ++notch) ClickAtPointer(window);
}
