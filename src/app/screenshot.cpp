// Screenshots in the pictures folder.
#include "app/screenshot.h"

#include <unistd.h>

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "app/screenshot_name.h"
#include "app/strip_note.h"
#include "platform/files/archive_reader.h"
#include "platform/files/user_data.h"
#include "platform/gdi/png_file.h"
#include "platform/translation.h"
#include "platform/utf8_text.h"
#include "platform/window/virtual_keys.h"
#include "reader/reader.h"
#include "reader/texts.h"

namespace {

// Long enough to be read, short enough not to stand in the next screenshot.
constexpr UINT NOTE_SHOWN_MS = 3000;
// The name limit of Linux's file systems, where the folder does not tell its own.
constexpr long USUAL_NAME_MAX = 255;

// The novel's folder or archive by its last name, an archive's extension taken off.
std::string NovelName(const std::string& key_path) {
  std::string name = key_path.substr(key_path.rfind('/') + 1);
  if (IsArchiveName(name)) name.erase(name.rfind('.'));
  return name.empty() ? "yomu" : name;
}

// The caption that a "T" line gave the window, else the novel's folder or archive.
std::string NovelTitle(Reader& r, const Window& window) {
  const std::string& caption = window.caption_sjis();
  std::string title =
      caption == texts::CAPTION ? "" : FileNameOfTitle(r.platform.shift_jis.ToUtf8(caption));
  return title.empty() ? FileNameOfTitle(NovelName(r.platform.volume->key_path())) : title;
}

std::string LocalTimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char stamp[32] = "";
  if (localtime_r(&now, &local) != nullptr) {
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  }
  return stamp;
}

std::size_t NameMax(const std::string& folder) {
  const long name_max = pathconf(folder.c_str(), _PC_NAME_MAX);
  return static_cast<std::size_t>(name_max > 0 ? name_max : USUAL_NAME_MAX);
}

// The note in the reader's language, on the strip in the page's characters.
void TellOnStrip(Reader& r, Window& window, const char* note_utf8) {
  std::vector<std::size_t> unconverted;
  const std::string note =
      r.platform.shift_jis.FromUtf8Replacing(note_utf8, GETA_MARK_SJIS, unconverted);
  ShowNoteForAMoment(r, window, note, NOTE_SHOWN_MS);
}

struct ScreenshotRefused {
  std::string why;
};

// The page as a new PNG in the pictures folder's "yomu", or why it is not there.
ErrorOr<std::string, ScreenshotRefused> WriteScreenshot(Reader& r, const Window& window) {
  const std::optional<std::string> pictures = UserPicturesDirectory();
  if (!pictures) return ScreenshotRefused{_("the screenshot has no pictures folder (no home folder)")};
  const std::string folder = *pictures + "/yomu";
  if (ErrorOr<void, std::string> made = MakeUserDirectory(folder); !made) {
    return ScreenshotRefused{
        Formatted(_("the screenshot cannot be written in %s: %s"), folder, made.error())};
  }
  const std::string stem = ScreenshotStem(NovelTitle(r, window), LocalTimeStamp(), NameMax(folder));
  ErrorOr<std::string, SystemError> written = WriteNewPng(window.client_pixels(), folder, stem);
  if (!written) {
    return ScreenshotRefused{Formatted(_("the screenshot cannot be written in %s: %s"), folder,
                                       written.error().Describe())};
  }
  return written.release_value();
}

}  // namespace

bool IsScreenshotKey(WPARAM key) { return key == VK_F12 || key == VK_SNAPSHOT; }

void TakeScreenshot(Reader& r, Window& window) {
  // The note of a screenshot before is no part of the page.
  HideNote(r, window);
  const ErrorOr<std::string, ScreenshotRefused> written = WriteScreenshot(r, window);
  if (written) {
    r.platform.backend.Record("screenshot " + *written);
    TellOnStrip(r, window, _("Screenshot saved"));
  } else {
    r.platform.Warn(written.error().why);
    TellOnStrip(r, window, _("Screenshot failed"));
  }
}
