// The backlog over the page: opened by the wheel turned away from the reader, Page
// Up, the up arrow or Backspace; scrolled by the wheel and the keys; closed by a
// click, Escape or scrolling past the newest paragraph. It leaves the reader's state,
// the script's position and the timers as they are, and the page as it was.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/win32_types.h"

struct Reader;
class Window;

// False when there is nothing read yet to look back at.
bool OpenBacklog(Reader& r, Window& window);
void CloseBacklog(Reader& r, Window& window);
// Positive towards the newest paragraph; past it the backlog closes.
void ScrollBacklog(Reader& r, Window& window, std::int64_t paragraphs);

// A message while the backlog is open: its result when the backlog took it, nullopt
// when it goes on to the reader (the backlog has closed for it, or it draws nothing).
std::optional<LRESULT> OnBacklogMessage(Reader& r, Window& window, UINT message, WPARAM wparam,
                                        LPARAM lparam);
