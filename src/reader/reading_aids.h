// What the reader offers around a novel beyond its own state: the paragraphs read
// and their marks, the text output and the text feed, the backlog over the page,
// auto mode, skipping while a key is held, the picture without its text, the sound's
// volume and the reader's settings. None of it is part of ReaderState: the novel's
// run does not depend on it. (Speech is the platform's, as the window's menus speak
// too.)
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/feed/text_feed.h"
#include "platform/files/settings_file.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/surface.h"
#include "platform/win32_types.h"
#include "reader/read_history.h"
#include "reader/read_marks.h"
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
  // The paragraph at the top while a page-full is laid out downwards from it (Home,
  // Page Down); unset while the paragraphs are laid out upwards from the lowest.
  std::optional<std::uint64_t> top;
};

struct AutoMode {
  bool on = false;
  std::uint32_t delay_ms = 1000;  // the wait after a paragraph before its characters
};

// Skipping while a key is held: Ctrl, Ctrl with Shift, or the pad's right shoulder.
struct HeldSkip {
  WPARAM key = 0;                 // the key held, while its skip waits or runs
  bool running = false;           // skip mode runs because the key is held
  bool read_only = false;         // the skip stops at the first paragraph not read before
  std::uint64_t unread_seen = 0;  // the read marks' count when the skip last stepped
};

// The level that music and sounds play at, in tenths, and the mute.
struct SoundVolume {
  int tenths = 10;
  bool muted = false;
  int audible_percent() const { return muted ? 0 : tenths * 10; }
};

// The place where the reader stopped, as last written (data/resume_point.h).
struct ResumePoint {
  std::int32_t page = 0;  // of the place last written, or found at the start
  std::string script_sjis;
  std::uint64_t saved_ms = 0;
  bool noted = false;  // the place at the start is known
  bool due = false;    // the window goes there once it is created
};

struct ReadingAids {
  ReadHistory history;
  ReadMarks read_marks;
  TextOut text_out;
  std::unique_ptr<TextFeed> feed;  // null unless asked for and listening
  BacklogView backlog;
  AutoMode auto_mode;
  HeldSkip held_skip;
  WPARAM text_hidden_by = 0;  // the key or button held to see the picture without text
  SoundVolume volume;
  SettingsFile settings;
  bool full_screen_due = false;  // the window goes full screen once it is created
  ResumePoint resume;
  bool desktop_chooser = false;           // O asks the desktop's chooser first
  bool novel_list_due = false;            // the window asks for a novel once it is created
  std::vector<std::string> listed_novels;  // yomu's own list of novels, as last shown
  std::optional<std::string> next_novel;  // opened by a new start once the window ends
  bool window_kept = false;  // its scale, place and full screen go to the settings
};
