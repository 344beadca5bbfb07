// Skipping while a key is held: Ctrl skips the paragraphs read before (in this run
// or an earlier one) and stops at the first that was not; Ctrl with Shift skips
// everything, as the menu's skip does; the pad's right shoulder skips what was
// read, as Ctrl does. The skip starts once the key has been held a moment and
// stops when it comes up; Ctrl pressed with another key (Ctrl+C) skips nothing.
#pragma once

#include "platform/win32_types.h"

struct Reader;
class Window;

bool IsSkipKey(WPARAM key);
void OnSkipKeyDown(Reader& r, Window& window, WPARAM key);
void OnSkipKeyUp(Reader& r, Window& window, WPARAM key);
// Another key went down: Ctrl is part of a combination, not held to skip.
void CancelHoldSkip(Reader& r, Window& window);
void OnHoldSkipTick(Reader& r, Window& window);
// A skip step: the script runs on, and a skip of what was read stops at (and
// shows) a paragraph that was not read before, with the record "skip stop unread".
void OnSkipTick(Reader& r, Window& window);
