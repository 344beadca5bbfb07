// Skipping while Ctrl is held: the menu's skip command once Ctrl has been held a
// moment, and skip mode's stop when it comes up. Ctrl pressed with another key
// (Ctrl+C) skips nothing.
#pragma once

struct Reader;
class Window;

void OnCtrlDown(Reader& r, Window& window);
void OnCtrlUp(Reader& r, Window& window);
// Another key went down: Ctrl is part of a combination, not held to skip.
void CancelHoldSkip(Reader& r, Window& window);
void OnHoldSkipTick(Reader& r, Window& window);
