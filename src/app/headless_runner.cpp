// The headless runner.
#include "app/headless_runner.h"

#include "app/main_window.h"
#include "app/start_up_notes.h"
#include "app/state_report.h"
#include "platform/files/open_novel.h"
#include "platform/headless/headless_backend.h"
#include "reader/reader.h"
#include "reader/texts.h"

int RunHeadless(const HeadlessOptions& options, std::istream& events_in, std::ostream& log,
                std::ostream& errors) {
  ErrorOr<std::vector<HeadlessEvent>, std::string> events = ParseEvents(events_in);
  if (!events) {
    errors << "yomu: events: " << events.error() << '\n';
    return 2;
  }
  ErrorOr<OpenedNovel, std::string> opened = OpenNovel(options.novel, texts::FIRST_SCRIPT);
  if (!opened) {
    errors << "yomu: " << opened.error() << '\n';
    return 2;
  }

  HeadlessBackend backend(std::move(*events), log);
  backend.set_errors(errors);
  Platform platform(backend, std::move(opened->volume), options.font_file);
  for (const std::string& note : opened->notes) platform.Warn(note);
  // Told before the log begins, so they are no records.
  for (const std::string& note : StartUpNotes(platform)) errors << "yomu: " << note << '\n';
  if (options.make_media) platform.media = options.make_media(platform);
  Reader reader(platform);
  if (const ErrorOr<void, std::string> started = StartReadingAids(reader, options.reading);
      !started) {
    errors << "yomu: " << started.error() << '\n';
    return 2;
  }
  backend.set_hooks({
      [&reader](std::uint64_t now_ms, std::ostream& out) { WriteStateReport(reader, now_ms, out); },
      [&reader]() -> const Bitmap* { return reader.state.PageBitmap.get(); },
      [&reader]() -> const TextFeed* { return reader.aids.feed.get(); },
  });
  const int exit_code = WinMain(reader, 1);
  log.flush();
  if (!backend.error().empty()) {
    errors << "yomu: events: " << backend.error() << '\n';
    return 2;
  }
  return exit_code;
}
