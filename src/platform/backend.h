// What differs between the real window and the headless runner: where time,
// input, pixels, the display and sound come from and go to. The message queue,
// the surfaces and the text are shared.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/display.h"
#include "platform/win32_types.h"

// The largest size on screen of a page pixel.
constexpr int WINDOW_SCALE_MAX = 16;

// The window's size and place on the desktop, as the reader left it.
struct WindowPlace {
  int scale = 0;        // the page pixel's size on screen; 0: not known
  bool placed = false;  // x and y are known
  int x = 0;            // the page's top-left corner on the desktop
  int y = 0;
};

class Menu;
class Platform;
class Window;
struct POINT;

class Backend {
 public:
  virtual ~Backend() = default;

  // Milliseconds since the backend started.
  virtual std::uint64_t NowMs() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // The user asked to close the window while the reader was busy: from then on
  // waits end at once, so that the work in hand ends soon and the window closes.
  virtual bool CloseRequested() { return false; }
  // Called every few milliseconds while the reader waits for work outside it (an
  // archive's pass to reach a member): keeps the window answering, without moving
  // the reader's clock; false once the user asked to close the window.
  virtual bool AnswerWhileWaiting() { return true; }

  // Waits until input arrives (posting it to the queue) or until deadline_ms passes.
  // Returns false when no input can ever come again.
  virtual bool WaitForInput(Platform& platform, std::optional<std::uint64_t> deadline_ms) = 0;

  // Pixels of the window's client area changed: show them now.
  virtual void ShowWindowPixels(const Window& window, const RECT& changed) = 0;
  virtual void WindowCaptionChanged(const Window&, std::string_view /*caption_sjis*/) {}
  virtual void WindowPlaced(Window&) {}
  // The size and place that the window had when the reader last left it, asked for
  // before the window shows; a size that the command line named goes first, and a
  // place that lies on no display is not taken.
  virtual void RecallWindowPlace(const WindowPlace&) {}
  // The window's size and place out of full screen, to be recalled at the next start;
  // nothing when the backend has no window on a desktop.
  virtual std::optional<WindowPlace> WindowPlaceToKeep() { return std::nullopt; }
  // The window out of full screen sized to show the page at a whole factor (Alt+1 to
  // Alt+3); the window system may give it less where the screen is smaller.
  virtual void ScaleWindow(int /*scale*/) {}

  // Shows a popup menu at a screen position until it closes: the command picked, or
  // nullopt when it closed with nothing picked.
  virtual std::optional<UINT> TrackMenu(Platform& platform, const Menu& menu, int x, int y) = 0;

  // The display: the modes it offers, in enumeration order, and the current one.
  virtual std::vector<DEVMODEA> DisplayModes() = 0;
  virtual DEVMODEA CurrentDisplayMode() = 0;
  virtual long ChangeDisplayMode(const DEVMODEA* mode) = 0;

  // A message to the reader about something that went wrong, shown until the reader
  // closes it or the program is asked to quit.
  virtual void ShowMessage(Platform& platform, std::string_view text_utf8) = 0;

  // A platform call of interest (a timer set, a media command, ...), for the record.
  virtual void Record(std::string_view) {}

  // Where the pointer is, in page pixels of the window's client area; false when
  // the backend cannot tell.
  virtual bool PointerPosition(POINT* /*client_point*/) { return false; }
  // Puts text on the system's clipboard.
  virtual void SetClipboardText(std::string_view /*text_utf8*/) {}
  // A problem that the reader met in the novel, in UTF-8: one line on standard error.
  virtual void Warn(std::string_view text_utf8) {
    std::fprintf(stderr, "yomu: %.*s\n", static_cast<int>(text_utf8.size()), text_utf8.data());
  }
};
