// yomu: reads Japanese sound novels. The command line picks the backend and the
// novel's directory, then the reader runs as its window procedure says.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "app/headless_runner.h"
#include "app/main_window.h"
#include "platform/files/host_path.h"
#include "platform/media/mixer_player.h"
#include "platform/sdl/sdl_backend.h"
#include "reader/reader.h"

namespace {

constexpr char USAGE[] =
    "Usage: yomu [OPTIONS] [NOVEL_DIR]\n"
    "Reads the sound novel in NOVEL_DIR (default: the current directory),\n"
    "starting with its script \"タイトル.txt\".\n"
    "\n"
    "Options:\n"
    "  --headless        run without a window, driven by an event list, log on stdout\n"
    "  --events FILE     the event list of --headless (default or '-': standard input)\n"
    "  --font FILE       the Mincho font to draw text with (default: found by fontconfig)\n"
    "  --soundfont FILE  the General MIDI soundfont for MIDI music\n"
    "                    (default: the system's, e.g. /usr/share/sounds/sf2/default-GM.sf2)\n"
    "  --scale N         show each page pixel as N × N screen pixels (default: fit the screen)\n"
    "  --text-out FILE   write each paragraph as it appears as one line of UTF-8 to FILE\n"
    "                    (a file or a named pipe; '-': standard output)\n"
    "  --auto-delay MS   auto mode's wait after a paragraph (default 1000), to which\n"
    "                    60 ms for each double-byte character are added\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n"
    "\n"
    "Mouse and keys:\n"
    "  left button, Return, keypad Enter, Space, Page Down, Down, wheel towards you\n"
    "                    advance (as a left click at the pointer)\n"
    "  right button, Escape, Menu, Shift+F10\n"
    "                    the context menu (Escape in a menu closes it)\n"
    "  Up, Down          while choosing: move the highlight over the choices\n"
    "  Return, Space     while choosing: take the highlighted choice\n"
    "  1 to 5            while choosing: take that choice\n"
    "  wheel away, Page Up, Up, Backspace\n"
    "                    the backlog of what was read; in it the wheel, Up, Down, Page Up,\n"
    "                    Page Down, Home and End scroll; a click, Escape, Return, Space,\n"
    "                    Backspace or scrolling past the newest paragraph close it\n"
    "  Ctrl (held)       skip while held\n"
    "  A                 auto mode on or off: reads on by itself, stops at choices\n"
    "  C, Ctrl+C         copy the current paragraph (in the backlog: the lowest one)\n"
    "  F11, Alt+Return   full screen on or off\n";

struct CommandLine {
  bool headless = false;
  int scale = 0;
  std::optional<std::string> events_file;
  std::optional<std::string> soundfont_file;
  HeadlessOptions options;
};

int UsageError(const std::string& message) {
  std::fprintf(stderr, "yomu: %s\nTry 'yomu --help'.\n", message.c_str());
  return 2;
}

bool IsDirectory(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Music and sounds; without an audio device the reader runs on in silence.
void StartAudio(Platform& platform, const CommandLine& line) {
  std::string error;
  std::unique_ptr<MixerPlayer> player =
      MixerPlayer::Create(platform.shift_jis, {platform.working_directory, line.soundfont_file, true}, error);
  if (!player) {
    std::fprintf(stderr, "yomu: no audio device (%s); the novel stays silent\n", error.c_str());
    return;
  }
  if (!player->soundfont_path()) std::fputs("yomu: no General MIDI soundfont found; MIDI music stays silent\n", stderr);
  platform.media = std::move(player);
}

// The reader in its real window, in the novel's directory.
int RunWindow(const CommandLine& line) {
  const std::optional<std::string> resolved = RealPath(line.options.novel_directory);
  if (!resolved) {
    return UsageError("cannot open the novel directory " + line.options.novel_directory);
  }
  std::string error;
  std::unique_ptr<SdlBackend> backend = SdlBackend::Create(line.scale, error);
  if (!backend) {
    std::fprintf(stderr, "yomu: cannot open a window: %s\n", error.c_str());
    return 1;
  }
  Platform platform(*backend, *resolved, line.options.font_file);
  if (platform.fonts.face_path().empty()) std::fputs("yomu: no Mincho font found; text stays invisible\n", stderr);
  StartAudio(platform, line);
  Reader reader(platform);
  if (!StartReadingAids(reader, line.options.reading, error)) return UsageError(error);
  return WinMain(reader, 1);
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine line;
  bool directory_given = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool has_value = i + 1 < argc;
    if (argument == "--help") {
      std::fputs(USAGE, stdout);
      return 0;
    } else if (argument == "--version") {
      std::puts("yomu 0.1.0");
      return 0;
    } else if (argument == "--headless") {
      line.headless = true;
    } else if (argument == "--scale") {
      if (!has_value) return UsageError("--scale needs a number");
      char* end = nullptr;
      const long scale = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || scale < 1 || scale > 16) return UsageError("--scale takes a whole number from 1 to 16");
      line.scale = static_cast<int>(scale);
    } else if (argument == "--auto-delay") {
      if (!has_value) return UsageError("--auto-delay needs a number of milliseconds");
      char* end = nullptr;
      const long delay = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || delay < 0 || delay > 600000) {
        return UsageError("--auto-delay takes 0 to 600000 ms");
      }
      line.options.reading.auto_delay_ms = static_cast<std::uint32_t>(delay);
    } else if (argument == "--text-out") {
      if (!has_value) return UsageError("--text-out needs a file");
      line.options.reading.text_out_file = argv[++i];
    } else if (argument == "--soundfont") {
      if (!has_value) return UsageError("--soundfont needs a file");
      line.soundfont_file = argv[++i];
    } else if (argument == "--events" || argument == "--font") {
      if (!has_value) return UsageError(argument + " needs a file");
      (argument == "--events" ? line.events_file : line.options.font_file) = argv[++i];
    } else if (argument.size() > 1 && argument[0] == '-') {
      return UsageError("unknown option " + argument);
    } else if (directory_given) {
      return UsageError("more than one novel directory given");
    } else {
      line.options.novel_directory = argument;
      directory_given = true;
    }
  }
  if (!IsDirectory(line.options.novel_directory)) {
    return UsageError("no such directory: " + line.options.novel_directory);
  }
  if (line.options.font_file && !std::ifstream(*line.options.font_file)) {
    return UsageError("cannot read the font file " + *line.options.font_file);
  }
  if (line.soundfont_file && !std::ifstream(*line.soundfont_file)) {
    return UsageError("cannot read the soundfont file " + *line.soundfont_file);
  }
  if (!line.headless) return RunWindow(line);
  if (!line.events_file || *line.events_file == "-") {
    return RunHeadless(line.options, std::cin, std::cout, std::cerr);
  }
  std::ifstream events(*line.events_file);
  if (!events) return UsageError("cannot read the event list " + *line.events_file);
  return RunHeadless(line.options, events, std::cout, std::cerr);
}
