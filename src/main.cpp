// yomu: reads Japanese sound novels. The command line picks the backend and the
// novel's directory, then the reader runs as its window procedure says.
#include <stdlib.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/headless_runner.h"
#include "app/main_window.h"
#include "app/novel_chooser.h"
#include "app/reading_aids.h"
#include "app/start_up_notes.h"
#include "check/check_command.h"
#include "platform/files/open_novel.h"
#include "platform/media/on_demand_player.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/speech/speech_dispatcher.h"
#include "platform/standard_streams.h"
#include "platform/translation.h"
#include "reader/reader.h"
#include "reader/texts.h"

namespace {

constexpr int EXIT_NO_WINDOW = 1;

// Music and sounds, from the audio module that the first sound loads; without the
// module or an audio device the reader runs on in silence.
void StartAudio(Platform& platform, const CommandLine& line) {
  platform.media = std::make_unique<OnDemandPlayer>(
      AudioPlayerRequest{YOMU_VERSION, line.soundfont_file,
                         [&platform](const std::string& text) { platform.Warn(text); }},
      AudioModulePlaces());
}

// The novel named, else the current folder when it holds the first script, else the
// one the reader chooses; without a choice, the current folder all the same.
ErrorOr<OpenedNovel, std::string> OpenWindowNovel(const CommandLine& line) {
  ErrorOr<OpenedNovel, std::string> opened = OpenNovel(line.options.novel, texts::FIRST_SCRIPT);
  if (opened && !line.novel_named && !HoldsFirstScript(*opened->volume)) {
    if (const std::optional<std::string> chosen = ChooseNovel()) {
      opened = OpenNovel(*chosen, texts::FIRST_SCRIPT);
    }
  }
  if (opened && HoldsFirstScript(*opened->volume)) RememberOpenedNovel(*opened->volume);
  return opened;
}

// The reader in its real window, on the novel's folder or archive.
int RunWindow(const CommandLine& line) {
  ErrorOr<OpenedNovel, std::string> opened = OpenWindowNovel(line);
  if (!opened) {
    std::fprintf(stderr, "yomu: %s\n", opened.error().c_str());
    SdlBackend::ShowMessageAlone(Formatted(_("yomu cannot open this novel: %s"), opened.error()));
    return EXIT_USAGE;
  }
  std::string error;
  std::unique_ptr<SdlBackend> backend = SdlBackend::Create(line.scale, error);
  if (!backend) {
    std::fprintf(stderr, _("yomu: cannot open a window: %s\n"), error.c_str());
    return EXIT_NO_WINDOW;
  }
  Platform platform(*backend, std::move(opened->volume), line.options.font_file);
  for (const std::string& note : StartUpNotes(platform)) std::fprintf(stderr, "%s\n", note.c_str());
  for (const std::string& note : opened->notes) platform.Warn(note);
  StartAudio(platform, line);
  // Nothing of speech-dispatcher is loaded before speech is first turned on.
  platform.speech.service = std::make_unique<SpeechDispatcher>(backend->Waker());
  Reader reader(platform);
  ReadingOptions reading = line.options.reading;
  reading.window_kept = true;
  if (!StartReadingAids(reader, reading, error)) {
    std::fprintf(stderr, "yomu: %s\n", error.c_str());
    return EXIT_USAGE;
  }
  return WinMain(reader, 1);
}

}  // namespace

int main(int argc, char** argv) {
  // A peer that goes (speech-dispatcher, a text feed's client, a dictionary tool
  // reading --text-out) makes a write fail with EPIPE, which its writer handles: it
  // never ends the reader.
  std::signal(SIGPIPE, SIG_IGN);
  OpenClosedStandardStreams();
  // While TZ is unset the C library reads /etc/localtime again at every time it
  // converts; an archive's headers convert one a member.
  setenv("TZ", ":/etc/localtime", 0);
  // The authors' check runs on its own, before any option of the reader is looked at.
  if (argc > 1 && std::strcmp(argv[1], "check") == 0) {
    StandardStreams standard;
    return RunCheckCommand(std::vector<std::string>(argv + 2, argv + argc), standard.out(),
                           standard.err());
  }
  // The reader's messages in the reader's language; the check's findings, which tools
  // and editors read, and the runner's records stay as they are written.
  StartTranslation();
  const ParsedCommandLine parsed = ParseCommandLine(argc, argv);
  if (!parsed.line) return parsed.exit_status;
  const CommandLine& line = *parsed.line;
  if (!line.headless) return RunWindow(line);
  std::ifstream events;
  if (line.events_file && *line.events_file != "-") {
    events.open(*line.events_file);
    if (!events) {
      std::fprintf(stderr, _("yomu: cannot read the event list %s\nTry 'yomu --help'.\n"),
                   line.events_file->c_str());
      return EXIT_USAGE;
    }
  }
  StopTranslation();
  StandardStreams standard;
  return RunHeadless(line.options, events.is_open() ? events : standard.in(), standard.out(),
                     standard.err());
}
