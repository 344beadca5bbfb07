// The backlog's picture: the page's picture darkened without its text, the
// paragraphs read drawn over it in the page's font, the newest at the bottom,
// word-wrapped to the page's width, and the choices taken among them in green
// behind a "⇒".
#pragma once

#include <cstdint>

struct Reader;
class Surface;
class Window;

// Keeps what the window shows, as the page under the backlog, and the darkened
// background.
void KeepPageUnderBacklog(Reader& r, Window& window);
// Lays out the paragraphs upwards from the one shown lowest, or downwards from the one
// at the top when the view has one, and shows them.
void DrawBacklog(Reader& r, Window& window);
// The lowest paragraph still wholly in sight when the paragraphs are laid out downwards
// from top: the end of a page-full.
std::uint64_t LowestInSightFrom(Reader& r, std::uint64_t top);
// Shows the backlog as last drawn (a paint).
void ShowBacklog(Reader& r, Surface& device_context);
// Puts back on the window what it showed before, and lets the pictures go.
void RestorePageUnderBacklog(Reader& r, Window& window);
