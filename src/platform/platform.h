// The platform of one running reader: the backend and the services shared by both
// backends (text, fonts, the message queue, the window, files and media).
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/backend.h"
#include "platform/files/volume.h"
#include "platform/gdi/font.h"
#include "platform/media/media_player.h"
#include "platform/shift_jis.h"
#include "platform/speech/speech.h"
#include "platform/window/message_queue.h"
#include "platform/window/window.h"
#include "platform/window/window_host.h"

// The window's host too: what the window tells the system goes to the backend.
class Platform final : public WindowHost {
 public:
  // volume: the novel's files, a folder or an archive.
  Platform(Backend& backend, std::unique_ptr<Volume> volume,
           std::optional<std::string> font_file = std::nullopt);
  ~Platform();
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;

  Backend& backend;
  const std::unique_ptr<Volume> volume;
  ShiftJis& shift_jis;  // the novel's code page, the volume's
  FontEngine fonts;
  MessageQueue queue;
  std::map<std::string, WNDCLASSEXA> window_classes;
  std::unique_ptr<Window> window;
  // Where the novel's files go when its folder cannot be written (or it is an
  // archive); nothing when the user's data folder cannot be told. It may not exist yet.
  const std::optional<std::string> user_directory;
  // Self-voicing: whether it is on, and what speaks (null headless).
  Speech speech;
  // Plays the media commands; null (the headless runner, or no audio device)
  // means every command succeeds and nothing sounds. Last, so it goes first.
  std::unique_ptr<MediaPlayer> media;

  std::uint64_t NowMs() override { return backend.NowMs(); }

  MessageQueue& message_queue() override { return queue; }
  void Record(std::string_view record) override { backend.Record(record); }
  std::string ToUtf8(std::string_view text_sjis) override { return shift_jis.ToUtf8(text_sjis); }
  void ShowWindowPixels(const Window& shown, const RECT& changed) override {
    backend.ShowWindowPixels(shown, changed);
  }
  void WindowPlaced(Window& placed) override { backend.WindowPlaced(placed); }
  void WindowCaptionChanged(const Window& named, std::string_view caption_sjis) override {
    backend.WindowCaptionChanged(named, caption_sjis);
  }
  std::optional<UINT> TrackMenu(const Menu& menu, int x, int y) override {
    return backend.TrackMenu(*this, menu, x, y);
  }

  // A problem that the reader met in the novel, in UTF-8 ("第二章.txt:12: picture
  // \"yoru.bmp\" not found"): the backend is told the first time only.
  void Warn(const std::string& text_utf8);
  // True only the first time it is asked about key: for work done once per file.
  bool FirstTime(const std::string& key);

 private:
  std::set<std::string> seen_;  // warnings given and keys asked about
};

void Sleep(Platform& platform, std::uint32_t milliseconds);
// True when the user asked to close the window while the reader was busy.
bool CloseRequested(Platform& platform);
// Where the novel lies (its folder, or its archive and the folder in it) in the
// reader's encoding; the length stored, or 0.
DWORD GetCurrentDirectoryA(Platform& platform, DWORD buffer_length, char* buffer);
// Tells the reader something that went wrong, in the window or in the log.
void ShowMessage(Platform& platform, std::string_view text_utf8);
