// The scene of a replayed page: the background and the MIDI music that the lines in
// front of it set up when the file was read.
#pragma once

struct Reader;
class Window;

// Applies the "BMP" and "BO" lines in front of first_line to the background, and
// plays the MIDI music that was playing there, with nothing presented or drawn.
void RestorePageScene(Reader& r, Window& window, int first_line);
