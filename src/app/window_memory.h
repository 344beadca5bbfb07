// The window as the reader left it: its scale, its place on the desktop and full
// screen, kept in the reader's settings when the window goes and taken back at the
// next start, unless the command line says otherwise.
#pragma once

#include <optional>

struct Reader;
class Window;

// Notes whether the reader starts in full screen: as full_screen says (--fullscreen,
// --window), else, where the window is kept, as it was left. Where it is kept, hands
// the kept scale and place to the backend before the window shows.
void RecallWindow(Reader& r, std::optional<bool> full_screen, bool kept);
// At the first message after the window's creation: full screen, when it is due.
void EnterRecalledFullScreen(Reader& r, Window& window);
// When a kept window goes: what changed is written to the settings.
void KeepWindow(Reader& r);
