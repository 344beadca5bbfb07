// What the reader offers around a novel beyond its own state: the paragraphs read,
// the text output and the text feed, the backlog over the page, auto mode and
// skipping while Ctrl is held. None of it is part of ReaderState: the novel's run
// does not depend on it. (Speech is the platform's, as the window's menus speak too.)
#pragma once

#include <cstdint>
#include <memory>

#include "platform/feed/text_feed.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/surface.h"
#include "reader/read_history.h"
#include "reader/text_out.h"

// A picture of the window's size with the device context that draws on it.
struct OffscreenPicture {
  std::unique_ptr<Bitmap> bitmap;
  std::unique_ptr<Surface> surface;
};

// The backlog: while it is open, the window shows it instead of the page.
struct BacklogView {
  bool open = false;
  std::uint64_t bottom = 0;     // the number of the paragraph shown lowest
  int shown = 0;                // paragraphs wholly on screen in the last drawing
  OffscreenPicture page_under;  // what the window showed when the backlog opened
  OffscreenPicture backdrop;    // the same, darkened
  OffscreenPicture canvas;      // the backlog as shown
};

struct AutoMode {
  bool on = false;
  std::uint32_t delay_ms = 1000;  // the wait after a paragraph before its characters
};

struct ReadingAids {
  ReadHistory history;
  TextOut text_out;
  std::unique_ptr<TextFeed> feed;  // null unless asked for and listening
  BacklogView backlog;
  AutoMode auto_mode;
  bool skip_held = false;  // skip mode runs because Ctrl is held
};
