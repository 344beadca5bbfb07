// Skip mode: automatic advance every 50 ms until a click, with its indicator in
// the status strip.
#pragma once

struct Reader;
class Window;

void StartSkipMode(Reader& r, Window& window);
void StopSkipMode(Reader& r, Window& window);
