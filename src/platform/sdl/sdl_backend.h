// The real window on SDL2: the page at the largest size that fits the window, which
// the reader may resize freely (a whole factor at start, on large screens),
// input turned into window messages with page coordinates, every copy to the
// window shown at once, and a wait that uses no CPU until input or a timer.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/error_or.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/font.h"
#include "platform/sdl/page_view.h"
#include "platform/window/window.h"

// The key of a pad's button, as both backends send it (platform/window/virtual_keys.h).
std::optional<int> PadKeyOf(const SDL_ControllerButtonEvent& button);

class SdlBackend : public Backend {
 public:
  // scale: the page's pixel size on screen; 0 chooses the largest whole factor
  // that fits the screen comfortably.
  static ErrorOr<std::unique_ptr<SdlBackend>, std::string> Create(int scale);
  // A message box of its own, for an error that keeps the window from opening: a
  // reader who started yomu from the desktop sees no standard error.
  static void ShowMessageAlone(std::string_view text_utf8);
  ~SdlBackend() override;
  // Wakes the window's loop from another thread (a service's), which then looks at
  // what the services have to say.
  std::function<void()> Waker();
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  std::uint64_t NowMs() override;
  void Sleep(std::uint32_t milliseconds) override;
  bool CloseRequested() override { return close_requested_; }
  bool AnswerWhileWaiting() override;
  bool WaitForInput(Platform& platform, std::optional<std::uint64_t> deadline_ms) override;
  void ShowWindowPixels(const Window& window, const RECT& changed) override;
  void WindowCaptionChanged(const Window& window, std::string_view caption_sjis) override;
  void WindowPlaced(Window& window) override;
  void RecallWindowPlace(const WindowPlace& place) override { recalled_ = place; }
  std::optional<WindowPlace> WindowPlaceToKeep() override;
  void ScaleWindow(int scale) override;
  std::optional<UINT> TrackMenu(Platform& platform, const Menu& menu, int x, int y) override;
  std::vector<DEVMODEA> DisplayModes() override;
  DEVMODEA CurrentDisplayMode() override;
  long ChangeDisplayMode(const DEVMODEA* mode) override;
  bool PointerPosition(POINT* client_point) override;
  void SetClipboardText(std::string_view text_utf8) override;
  void ShowMessage(Platform& platform, std::string_view text_utf8) override;

 private:
  explicit SdlBackend(int scale) : requested_scale_(scale) {}
  void CreateSdlWindow(Window& window);
  // The scale at start: the command line's, else the one kept (when it fits), else
  // the largest that fits.
  int StartScale(const SDL_Rect& usable) const;
  // The kept place when the page would lie there on a display; else centred.
  SDL_Point StartPlace(int scale) const;
  void FitFrameIntoUsableArea(const SDL_Rect& usable);
  // Where the window lies out of full screen; nothing where the desktop does not tell
  // (Wayland).
  std::optional<SDL_Point> WindowedPlace() const;
  // Shows a rectangle of a page-sized bitmap in the window.
  void ShowBitmap(const Bitmap& page, const RECT& changed);
  void Translate(Platform& platform, const SDL_Event& event);
  void TranslateKey(Window& window, const SDL_KeyboardEvent& key);
  void TranslateWheel(Window& window, const SDL_MouseWheelEvent& wheel);
  // Pads plugged in and out, and their buttons as keys.
  void TranslatePad(Window& window, const SDL_Event& event);
  // The pads are looked for once the first page is up, not to delay it.
  void StartPads();
  void RefreshView();
  void WindowResized();
  // The window's surface, which SDL makes anew after a change of size.
  SDL_Surface* WindowSurface();
  // The client area into the surface where it can lie there, and out of it before
  // SDL changes the surface.
  void PutPageInSurface(SDL_Surface& surface);
  void TakePageOutOfSurface();
  // Looks, without taking anything from the queue, for the close button.
  bool CloseWaiting();
  // The next event of a loop over the page (a menu, a message); false when the
  // program is asked to quit, whose event is put back for the window's own loop.
  bool WaitModal(SDL_Event& event);
  void TakeQuitSignalsOnce();
  void ShowWaitingCaption();
  void ShowWholeClientArea(const Window& window);
  // The page point under a window point.
  POINT PagePoint(int x, int y);
  LPARAM PagePosition(int x, int y);

  int requested_scale_;
  int scale_ = 1;
  WindowPlace recalled_;
  bool full_screen_ = false;
  std::optional<SDL_Point> place_before_full_screen_;
  bool close_requested_ = false;
  PageView view_;
  SDL_Window* sdl_window_ = nullptr;
  Window* window_ = nullptr;
  // The window surface's pixels when the window's client area lies in them (at scale
  // 1, where the surface is the page's size and format): the page then has one copy
  // fewer and a change is shown without a copy.
  std::uint32_t* page_in_surface_ = nullptr;
  std::string caption_utf8_;
  // A caption changed by the click goes to the title bar once its page is shown.
  bool caption_waiting_ = false;
  std::unique_ptr<Font> menu_font_;
  std::vector<std::string> deferred_messages_;  // said before the window was shown
  bool pads_started_ = false;
  bool quit_signals_taken_ = false;
  using Pad = std::unique_ptr<SDL_GameController, decltype(&SDL_GameControllerClose)>;
  std::map<SDL_JoystickID, Pad> pads_;  // by the instance that SDL's events name
};
