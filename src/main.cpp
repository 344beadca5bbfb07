// yomu: reads Japanese sound novels. The command line picks the backend and the
// novel's directory, then the reader runs as its window procedure says.
#include <limits.h>
#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/headless_runner.h"
#include "app/main_window.h"
#include "app/reader.h"
#include "app/start_up_notes.h"
#include "platform/media/mixer_player.h"
#include "platform/sdl/sdl_backend.h"

namespace {

constexpr int EXIT_NO_WINDOW = 1;

// Music and sounds; without an audio device the reader runs on in silence.
void StartAudio(Platform& platform, const CommandLine& line) {
  std::string error;
  std::unique_ptr<MixerPlayer> player = MixerPlayer::Create(
      platform.shift_jis, {platform.working_directory, line.soundfont_file, true}, error);
  if (!player) {
    std::fprintf(stderr, "yomu: no audio device (%s); the novel stays silent\n", error.c_str());
    return;
  }
  if (!player->soundfont_path()) {
    std::fputs("yomu: no General MIDI soundfont found; MIDI music stays silent\n", stderr);
  }
  platform.media = std::move(player);
}

// The reader in its real window, in the novel's directory.
int RunWindow(const CommandLine& line) {
  char resolved[PATH_MAX];
  if (realpath(line.options.novel_directory.c_str(), resolved) == nullptr) {
    std::fprintf(stderr, "yomu: cannot open the novel directory %s\n",
                 line.options.novel_directory.c_str());
    return EXIT_USAGE;
  }
  std::string error;
  std::unique_ptr<SdlBackend> backend = SdlBackend::Create(line.scale, error);
  if (!backend) {
    std::fprintf(stderr, "yomu: cannot open a window: %s\n", error.c_str());
    return EXIT_NO_WINDOW;
  }
  Platform platform(*backend, resolved, line.options.font_file);
  for (const std::string& note : StartUpNotes(platform)) std::fprintf(stderr, "%s\n", note.c_str());
  StartAudio(platform, line);
  Reader reader(platform);
  return WinMain(reader, 1);
}

}  // namespace

int main(int argc, char** argv) {
  const ParsedCommandLine parsed = ParseCommandLine(argc, argv);
  if (!parsed.line) return parsed.exit_status;
  const CommandLine& line = *parsed.line;
  if (!line.headless) return RunWindow(line);
  if (!line.events_file || *line.events_file == "-") {
    return RunHeadless(line.options, std::cin, std::cout, std::cerr);
  }
  std::ifstream events(*line.events_file);
  if (!events) {
    std::fprintf(stderr, "yomu: cannot read the event list %s\nTry 'yomu --help'.\n",
                 line.events_file->c_str());
    return EXIT_USAGE;
  }
  return RunHeadless(line.options, events, std::cout, std::cerr);
}
