// The reading aids in the window procedure.
#include "app/reading_aids.h"

#include <sstream>

#include "app/auto_mode.h"
#include "app/backlog.h"
#include "app/hold_skip.h"
#include "app/keys_and_wheel.h"
#include "app/novel_opening.h"
#include "app/picture_alone.h"
#include "app/self_voicing.h"
#include "app/sound_volume.h"
#include "app/strip_note.h"
#include "app/user_settings.h"
#include "app/window_memory.h"
#include "data/read_marks_file.h"
#include "data/resume_point.h"
#include "platform/calls/speech_calls.h"
#include "platform/translation.h"
#include "platform/window/virtual_keys.h"
#include "reader/reader.h"

namespace {

// The settings' origins, blank-separated on one line (a later line with the name
// takes the place of an earlier one).
constexpr char FEED_ORIGINS_SETTING[] = "text-feed-origin";

std::vector<std::string> FeedOrigins(Reader& r, std::vector<std::string> origins) {
  std::istringstream words(r.aids.settings.Get(FEED_ORIGINS_SETTING).value_or(""));
  for (std::string word; words >> word;) {
    if (std::optional<std::string> origin = SerializedOrigin(word)) {
      origins.push_back(*origin);
    } else {
      r.platform.Warn(Formatted(_("the setting text-feed-origin takes origins such as "
                                  "https://renji-xd.github.io, not %s"),
                                word));
    }
  }
  return origins;
}

void StartTextFeed(Reader& r, const ReadingOptions& options) {
  ErrorOr<std::unique_ptr<TextFeed>, std::string> feed =
      TextFeed::Listen(*options.text_feed, FeedOrigins(r, options.text_feed_origins));
  if (feed) {
    r.aids.feed = feed.release_value();
  } else {
    r.platform.Warn(feed.error());
  }
}

// The feed's thread hands its warnings over; the reader's thread tells them.
void TellFeedWarnings(Reader& r) {
  if (!r.aids.feed) return;
  for (const std::string& warning : r.aids.feed->TakeWarnings()) r.platform.Warn(warning);
}

std::optional<LRESULT> OnTimerOfAids(Reader& r, Window& window, UINT timer) {
  switch (timer) {
    case TIMER_AUTO: OnAutoTick(r, window); return 0;
    case TIMER_HOLD_SKIP: OnHoldSkipTick(r, window); return 0;
    case TIMER_STRIP_NOTE: OnStripNoteTick(r, window); return 0;
    default: return std::nullopt;
  }
}

// A view over the page takes the messages first: the picture alone, the backlog.
std::optional<LRESULT> OnViewMessage(Reader& r, Window& window, UINT message, WPARAM wparam,
                                     LPARAM lparam) {
  if (r.aids.text_hidden_by != 0) return OnPictureAloneMessage(r, window, message, wparam, lparam);
  if (r.aids.backlog.open) return OnBacklogMessage(r, window, message, wparam, lparam);
  return std::nullopt;
}

}  // namespace

ErrorOr<void, std::string> StartReadingAids(Reader& r, const ReadingOptions& options) {
  r.aids.auto_mode.delay_ms = options.auto_delay_ms;
  LoadUserSettings(r);
  RecallSpeechReading(r);
  // Its indicator shows with the first paragraph.
  if (options.speak) StartSpeech(r.platform);
  LoadReadMarks(r);
  r.aids.read_marks.saved_ms = r.platform.NowMs();
  if (options.text_feed) StartTextFeed(r, options);
  StartSoundVolume(r);
  RecallWindow(r, options.full_screen, options.window_kept);
  r.aids.resume.due = options.resume;
  r.aids.desktop_chooser = options.desktop_chooser;
  r.aids.novel_list_due = options.novel_list_due;
  if (!options.text_out_file) return {};
  if (ErrorOr<void, SystemError> opened = r.aids.text_out.Open(*options.text_out_file); !opened) {
    return "cannot write the text output " + *options.text_out_file + ": " +
           opened.error().Describe();
  }
  if (r.aids.text_out.waiting_for_reader()) {
    r.platform.Warn(Formatted(_("nobody reads the text output %s yet: its lines wait for a reader"),
                              *options.text_out_file));
  }
  return {};
}

// Once the window is created: the place where the reader stopped, or a novel to open,
// when asked for.
void PostStartCommands(Reader& r, Window& window) {
  if (std::exchange(r.aids.resume.due, false)) PostMessageA(window, WM_COMMAND, IDM_CONTINUE, 0);
  if (std::exchange(r.aids.novel_list_due, false)) {
    PostMessageA(window, WM_COMMAND, IDM_OPEN_NOVEL, 0);
  }
}

std::optional<LRESULT> OnReadingAidsMessage(Reader& r, Window& window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  EnterRecalledFullScreen(r, window);
  PostStartCommands(r, window);
  if (std::optional<LRESULT> result = OnViewMessage(r, window, message, wparam, lparam)) {
    return result;
  }
  switch (message) {
    // Keys go on to the window system's own processing (the menu key, Shift+F10).
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: OnKeyDown(r, window, message, wparam, lparam); return std::nullopt;
    case WM_KEYUP:
    case WM_SYSKEYUP: OnKeyUp(r, window, wparam); return std::nullopt;
    case WM_MOUSEWHEEL: OnMouseWheel(r, window, wparam); return 0;
    case WM_SPEECH_LOST: OnSpeechLost(r, window); return 0;
    case WM_MBUTTONDOWN: ShowPictureAlone(r, window, VK_MBUTTON); return 0;
    // A press stops auto mode, then does what it always does.
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: StopAutoMode(r, window); return std::nullopt;
    case WM_TIMER: return OnTimerOfAids(r, window, static_cast<UINT>(wparam));
    // The marks read last reach the file before the window goes.
    // The window is kept as it is before its teardown leaves full screen.
    case WM_DESTROY:
      SaveReadMarks(r);
      SaveResumePoint(r);
      KeepTitleOfNovel(r, window);
      KeepWindow(r);
      return std::nullopt;
    default: return std::nullopt;
  }
}

void AfterReaderMessage(Reader& r) {
  SaveReadMarksWhenDue(r);
  SaveResumePointWhenDue(r);
  TellFeedWarnings(r);
}
