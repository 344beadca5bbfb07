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

class Platform {
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

  std::uint64_t NowMs() { return backend.NowMs(); }

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
