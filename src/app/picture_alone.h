// The picture without its text: while H, the middle button or the pad's left
// shoulder is held, the window shows the page's background (the picture as the
// last BMP or BO line left it) without the text or the strip, with the page's own
// label; let go, and the page is back as it was. Nothing of the reader's state changes, and skip
// and auto steps wait meanwhile.
#pragma once

#include <optional>

#include "platform/win32_types.h"

struct Reader;
class Window;

bool IsPictureAloneKey(WPARAM key);
// held: the key, or VK_MBUTTON for the middle button, whose release ends it.
void ShowPictureAlone(Reader& r, Window& window, WPARAM held);

// A message while the picture is shown alone: its result when it was taken here,
// nullopt when it goes on to the reader (the page is back for it, or it draws nothing).
std::optional<LRESULT> OnPictureAloneMessage(Reader& r, Window& window, UINT message, WPARAM wparam,
                                             LPARAM lparam);
