// The keys and the wheel that advance do what a left click at the pointer does.
#pragma once

class Platform;
class Window;

// A left press and release at the pointer's position, through the window procedure
// as the mouse's own arrive.
void ClickAtPointer(Platform& platform, Window& window);
// The pointer's position in the window's client area.
int PointerClientX(Platform& platform, Window& window);
