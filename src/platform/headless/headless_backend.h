// The headless backend: a virtual clock, input from an event list, and every
// platform call of interest written to a log, "@T record".
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/feed/text_feed.h"
#include "platform/gdi/bitmap.h"
#include "platform/headless/events.h"

class HeadlessBackend : public Backend {
 public:
  struct Hooks {
    std::function<void(std::uint64_t now_ms, std::ostream& log)> write_state;
    std::function<const Bitmap*()> page_surface;
    std::function<const TextFeed*()> feed;  // null when the run has none
  };

  HeadlessBackend(std::vector<HeadlessEvent> events, std::ostream& log, Hooks hooks = {});

  std::uint64_t NowMs() override { return now_ms_; }
  void Sleep(std::uint32_t milliseconds) override { now_ms_ += milliseconds; }
  bool WaitForInput(Platform& platform, std::optional<std::uint64_t> deadline_ms) override;
  void ShowWindowPixels(const Window&, const RECT&) override {}
  std::optional<UINT> TrackMenu(Platform& platform, const Menu& menu, int x, int y) override;
  std::vector<DEVMODEA> DisplayModes() override;
  DEVMODEA CurrentDisplayMode() override { return current_mode_; }
  long ChangeDisplayMode(const DEVMODEA* mode) override;
  void Record(std::string_view record) override;
  void ScaleWindow(int scale) override { Record("window scale " + std::to_string(scale)); }
  bool PointerPosition(POINT* client_point) override;
  void SetClipboardText(std::string_view text_utf8) override;
  // A "warning TEXT" record, and the line on the error stream.
  void Warn(std::string_view text_utf8) override;
  void ShowMessage(Platform& platform, std::string_view text_utf8) override;

  void set_hooks(Hooks hooks) { hooks_ = std::move(hooks); }
  void set_errors(std::ostream& errors) { errors_ = &errors; }
  // The error that stopped the run, if one did.
  const std::string& error() const { return error_; }

 private:
  bool PassTime(std::optional<std::uint64_t> deadline_ms);
  // Runs one event; true when it posted input.
  bool Perform(Platform& platform, const HeadlessEvent& event);
  bool WritePicture(const Bitmap* bitmap, const HeadlessEvent& event);
  void PressKey(Window& window, const HeadlessEvent& event);
  // "feed clients N": waits in real time for the clients.
  void AwaitFeedClients(const HeadlessEvent& event);
  void AwaitFile(const HeadlessEvent& event);
  // The record "feed clients N" when the count changed since the last one.
  void NoteFeedClients();

  std::vector<HeadlessEvent> events_;
  std::size_t next_event_ = 0;
  std::ostream& log_;
  // Warnings go to standard error until the runner gives a stream for them.
  std::ostream* errors_ = nullptr;
  Hooks hooks_;
  std::uint64_t now_ms_ = 0;
  std::optional<std::uint64_t> wait_until_ms_;
  bool close_sent_ = false;
  int pointer_x_ = 0;  // where the last click, right click or move left the pointer
  int pointer_y_ = 0;
  std::set<WPARAM> keys_down_;  // held by "keydown"
  int feed_clients_ = 0;        // as last recorded
  DEVMODEA current_mode_;
  std::string error_;
};
