// Choices by keyboard.
#include "app/keyboard_choices.h"

#include <algorithm>

#include "app/pointer_click.h"
#include "platform/window/message_queue.h"
#include "reader/reader.h"
#include "script/choices.h"

namespace {

// The choices drawn: slots 0, 1, 2 ... while they hold a text.
int DrawnChoices(const ReaderState& s) {
  int drawn = 0;
  while (drawn < CHOICE_COUNT && s.ChoiceTexts[drawn][0] != '\0') ++drawn;
  return drawn;
}

// The pointer's move into the choice's band, as if the mouse had made it.
void HoverOver(Reader& r, Window& window, int index) {
  const std::int64_t y = ChoiceBandMiddle(r.state.FontHeight, index);
  SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(PointerClientX(r.platform, window), static_cast<int>(y)));
}

}  // namespace

void MoveChoiceHighlight(Reader& r, Window& window, int step) {
  const int drawn = DrawnChoices(r.state);
  if (drawn == 0) return;
  const int current = r.state.HoverChoice;
  const int next =
      current >= drawn ? (step > 0 ? 0 : drawn - 1) : std::clamp(current + step, 0, drawn - 1);
  if (next != current) HoverOver(r, window, next);
}

void PickDrawnChoice(Reader& r, Window& window, int index) {
  if (index < 0 || index >= DrawnChoices(r.state)) return;
  HoverOver(r, window, index);
  // A font that leaves the band no room highlights nothing: the pointer could not choose.
  if (r.state.HoverChoice == index) ClickAtPointer(r.platform, window);
}
