// The platform of one running reader, and its clock and directory calls.
#include "platform/platform.h"

#include <cstring>

#include "platform/calls/message_calls.h"
#include "platform/files/user_data.h"

Platform::Platform(Backend& backend_in, std::unique_ptr<Volume> volume_in,
                   std::optional<std::string> font_file)
    : backend(backend_in),
      volume(std::move(volume_in)),
      shift_jis(volume->shift_jis()),
      fonts(shift_jis, std::move(font_file)),
      user_directory(NovelUserDirectory(volume->key_path())) {
  volume->TellNotesTo([this](const std::string& note) { Warn(note); });
  volume->TellWaitsTo([this] { return backend.AnswerWhileWaiting(); });
}

Platform::~Platform() = default;

void Platform::Warn(const std::string& text_utf8) {
  if (FirstTime("warning " + text_utf8)) backend.Warn(text_utf8);
}

bool Platform::FirstTime(const std::string& key) { return seen_.insert(key).second; }

void ShowMessage(Platform& platform, std::string_view text_utf8) {
  platform.backend.ShowMessage(platform, text_utf8);
}

// An effect's steps each put a page out: what a click set sounding starts a frame
// after the first, inside the sleep that holds that moment.
void Sleep(Platform& platform, std::uint32_t milliseconds) {
  const std::uint64_t end = platform.NowMs() + milliseconds;
  if (const std::optional<std::uint64_t> due = LetPutOffWork(platform, false); due && *due < end) {
    platform.backend.Sleep(static_cast<std::uint32_t>(*due - platform.NowMs()));
    LetPutOffWork(platform, false);
  }
  const std::uint64_t now = platform.NowMs();
  if (now < end) platform.backend.Sleep(static_cast<std::uint32_t>(end - now));
}

bool CloseRequested(Platform& platform) { return platform.backend.CloseRequested(); }

DWORD GetCurrentDirectoryA(Platform& platform, DWORD buffer_length, char* buffer) {
  // The old programs saw the directory in their own code page; a name that does not
  // convert is handed over as it is.
  const std::string& place = platform.volume->place();
  std::string directory = platform.shift_jis.FromUtf8(place).value_or(place);
  if (buffer == nullptr || directory.size() + 1 > buffer_length) {
    return static_cast<DWORD>(directory.size() + 1);
  }
  std::memcpy(buffer, directory.c_str(), directory.size() + 1);
  return static_cast<DWORD>(directory.size());
}
