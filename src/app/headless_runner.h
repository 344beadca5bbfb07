// The headless runner: the reader on a novel (a folder or an archive) with the
// headless backend, driven by an event list, its log on an output stream.
#pragma once

#include <functional>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "app/reading_aids.h"

class MediaPlayer;
class Platform;

struct HeadlessOptions {
  std::string novel = ".";  // a folder or an archive
  std::optional<std::string> font_file;
  // Makes the player of the media commands; by default nothing sounds.
  std::function<std::unique_ptr<MediaPlayer>(Platform&)> make_media;
  ReadingOptions reading;
};

// Returns the process's exit status: the reader's own, or 2 for a bad event list or
// a novel that cannot be opened (with a message on errors).
int RunHeadless(const HeadlessOptions& options, std::istream& events, std::ostream& log,
                std::ostream& errors);
