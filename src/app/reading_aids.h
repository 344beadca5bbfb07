// The reading aids in the window procedure: the messages they take before the
// reader's own handlers, and their options from the command line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/error_or.h"
#include "platform/feed/text_feed.h"
#include "platform/win32_types.h"

struct Reader;
class Window;

struct ReadingOptions {
  std::optional<std::string> text_out_file;  // "-" for standard output
  std::optional<FeedAddress> text_feed;
  std::vector<std::string> text_feed_origins;  // serialized; the settings add theirs
  bool speak = false;
  std::uint32_t auto_delay_ms = 1000;
  std::optional<bool> full_screen;  // --fullscreen or --window; nothing: as it was left
  bool resume = false;              // --continue or --last: where the reader stopped
  bool desktop_chooser = false;     // the real window: O asks the desktop's chooser first
  bool novel_list_due = false;      // started without a novel: one is asked for at once
  // The window's scale, place and full screen are kept in the settings and taken back:
  // the real window's, not the headless runner's, whose runs depend on nothing kept.
  bool window_kept = false;
};

// False, with a message in error, when the text output cannot be opened. The read
// marks and the settings are read here. A text feed that cannot listen, or speech
// that cannot be had, is told of in one line, and the reader goes on without it.
ErrorOr<void, std::string> StartReadingAids(Reader& r, const ReadingOptions& options);

// The result when an aid took the message; nullopt when it goes on to the reader.
std::optional<LRESULT> OnReadingAidsMessage(Reader& r, Window& window, UINT message, WPARAM wparam,
                                            LPARAM lparam);
// After each message the reader handled: marks that waited long enough are saved, and
// what the text feed has to tell (the pages it refused) is told.
void AfterReaderMessage(Reader& r);
