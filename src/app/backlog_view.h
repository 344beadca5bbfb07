// The backlog's picture: the page darkened, the paragraphs read drawn over it in the
// page's font, the newest at the bottom, word-wrapped to the page's width.
#pragma once

struct Reader;
class Surface;
class Window;

// Keeps what the window shows, as the page under the backlog, and a darkened copy.
void KeepPageUnderBacklog(Reader& r, Window& window);
// Lays out the paragraphs upwards from the one shown lowest and shows them.
void DrawBacklog(Reader& r, Window& window);
// Shows the backlog as last drawn (a paint).
void ShowBacklog(Reader& r, Surface& device_context);
// Puts back on the window what it showed before, and lets the pictures go.
void RestorePageUnderBacklog(Reader& r, Window& window);
