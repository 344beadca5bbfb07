// Screen effects: the hatch darkens the page into a new background, the shake
// moves the page on the window and leaves it at rest.
#include "render/effects.h"

#include "reader/reader.h"
#include "render/pictures.h"
#include "render/surfaces.h"

namespace {
constexpr int QUAKE_STEPS = 10;
constexpr int QUAKE_OFFSET = 10;
constexpr std::uint32_t QUAKE_STEP_MS = 25;
}  // namespace

void CmdHatch(Reader& r) {
  ReaderState& s = r.state;
  // The lines and the copy below both reach into the background half.
  TakeBackPicture(s);
  Surface& page = *s.PageSurface;
  const Pen black{RGB(0, 0, 0), 1};
  const Pen* previous = SelectObject(page, &black);
  // Diagonals through every pixel with x + y even: the first set reaches the sums
  // 0 to 638, the second 640 to 1118.
  for (int x = -1; x <= 639; x += 2) {
    MoveToEx(page, x, -1);
    LineTo(page, -1, x);
  }
  for (int x = -1; x <= 639; x += 2) {
    MoveToEx(page, x, 641);
    LineTo(page, 641, x);
  }
  BitBlt(page, 0, PAGE_HEIGHT, PAGE_WIDTH, PAGE_HEIGHT, page, 0, 0, SRCCOPY);
  SelectObject(page, previous);
}

void CmdQuake(Reader& r, Window&) {
  ReaderState& s = r.state;
  if (s.WindowDC == nullptr) return;
  Surface& window = *s.WindowDC;
  const Brush black{RGB(0, 0, 0)};
  const Brush* previous = SelectObject(window, &black);
  int offset = QUAKE_OFFSET;
  for (int step = 0; step < QUAKE_STEPS; ++step) {
    Sleep(r.platform, QUAKE_STEP_MS);
    // The band that the shifted page leaves uncovered goes black.
    if (offset > 0) {
      PatBlt(window, 0, 0, offset, PAGE_HEIGHT, PATCOPY);
    } else {
      PatBlt(window, PAGE_WIDTH + offset, 0, PAGE_WIDTH, PAGE_HEIGHT, PATCOPY);
    }
    BitBlt(window, offset, 0, PAGE_WIDTH, PAGE_HEIGHT, *s.PageSurface, 0, 0, SRCCOPY);
    offset = -offset;
  }
  PresentPage(r, &window);
  SelectObject(window, previous);
}
