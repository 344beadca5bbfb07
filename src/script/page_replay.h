// Page replay: the layout of the loaded script rebuilt up to a wanted page.
#pragma once

struct Reader;
class Window;

void ReplayToPage(Reader& r, Window& window);
