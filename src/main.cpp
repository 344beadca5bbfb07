// yomu: reads Japanese sound novels. The command line picks the backend and the
// novel's directory, then the reader runs as its window procedure says.
#include <stdlib.h>

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
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

// The novel the window starts on, and whether yomu's own list asks for one at once.
struct StartingNovel {
  ErrorOr<OpenedNovel, std::string> opened;
  bool list_due = false;
};

// The novel named, else the current folder when it holds the first script, else the
// one the reader chooses on the desktop; without a choice, the current folder all the
// same, and where the desktop has no chooser, yomu's own list once the window is up.
StartingNovel OpenWindowNovel(const CommandLine& line) {
  StartingNovel start{OpenNovel(line.options.novel, texts::FIRST_SCRIPT)};
  ErrorOr<OpenedNovel, std::string>& opened = start.opened;
  if (opened && !line.novel_named && !HoldsFirstScript(*opened->volume)) {
    const NovelChoice choice = ChooseNovelOnDesktop();
    if (choice.kind == NovelChoice::Kind::Chosen) opened = OpenNovel(choice.path, texts::FIRST_SCRIPT);
    if (choice.kind == NovelChoice::Kind::Refused) SdlBackend::ShowMessageAlone(choice.refusal_utf8);
    start.list_due = choice.kind == NovelChoice::Kind::Unavailable;
  }
  if (opened && HoldsFirstScript(*opened->volume)) {
    // Told through the window's warnings with the novel's own notes.
    if (std::optional<std::string> why = RememberOpenedNovel(*opened->volume)) {
      opened->notes.push_back(std::move(*why));
    }
  }
  return start;
}

// The program started anew on the novel picked in the window, with the options that
// this start was given; returns only when that cannot be.
void StartAnew(const CommandLine& line, const char* program, const std::string& novel) {
  std::vector<std::string> arguments{program};
  arguments.insert(arguments.end(), line.reader_options.begin(), line.reader_options.end());
  arguments.insert(arguments.end(), {"--", novel});
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  // By its own path, so that the process keeps its name.
  std::error_code error;
  const std::string self = std::filesystem::read_symlink("/proc/self/exe", error).string();
  execv(error ? "/proc/self/exe" : self.c_str(), argv.data());
  std::fprintf(stderr, "yomu: %s\n",
               Formatted(_("cannot start again on %s: %s"), novel, std::strerror(errno)).c_str());
}

// The reader in its real window, on the novel's folder or archive; the novel picked
// to be read next, when one was.
int RunWindow(const CommandLine& line, std::optional<std::string>& next_novel) {
  StartingNovel start = OpenWindowNovel(line);
  ErrorOr<OpenedNovel, std::string>& opened = start.opened;
  if (!opened) {
    std::fprintf(stderr, "yomu: %s\n", opened.error().c_str());
    SdlBackend::ShowMessageAlone(Formatted(_("yomu cannot open this novel: %s"), opened.error()));
    return EXIT_USAGE;
  }
  ErrorOr<std::unique_ptr<SdlBackend>, std::string> created = SdlBackend::Create(line.scale);
  if (!created) {
    std::fprintf(stderr, _("yomu: cannot open a window: %s\n"), created.error().c_str());
    return EXIT_NO_WINDOW;
  }
  std::unique_ptr<SdlBackend> backend = created.release_value();
  Platform platform(*backend, std::move(opened->volume), line.options.font_file);
  for (const std::string& note : StartUpNotes(platform)) platform.Warn(note);
  for (const std::string& note : opened->notes) platform.Warn(note);
  StartAudio(platform, line);
  // Nothing of speech-dispatcher is loaded before speech is first turned on.
  platform.speech.service = std::make_unique<SpeechDispatcher>(backend->Waker());
  Reader reader(platform);
  ReadingOptions reading = line.options.reading;
  reading.window_kept = true;
  reading.desktop_chooser = true;
  reading.novel_list_due = start.list_due;
  if (const ErrorOr<void, std::string> started = StartReadingAids(reader, reading); !started) {
    std::fprintf(stderr, "yomu: %s\n", started.error().c_str());
    return EXIT_USAGE;
  }
  const int status = WinMain(reader, 1);
  next_novel = reader.aids.next_novel;
  return status;
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
    return RunCheckCommand(std::vector<std::string>(argv + 2, argv + argc), std::cout, std::cerr);
  }
  // The reader's messages in the reader's language; the check's findings, which tools
  // and editors read, and the runner's records stay as they are written.
  StartTranslation();
  const ParsedCommandLine parsed = ParseCommandLine(argc, argv);
  if (!parsed.line) return parsed.exit_status;
  const CommandLine& line = *parsed.line;
  if (!line.headless) {
    std::optional<std::string> next_novel;
    const int status = RunWindow(line, next_novel);
    if (next_novel) StartAnew(line, argv[0], *next_novel);
    return status;
  }
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
  return RunHeadless(line.options, events.is_open() ? events : std::cin, std::cout, std::cerr);
}
