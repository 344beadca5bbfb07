// The real window on SDL2.
#include "platform/sdl/sdl_backend.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/calls/speech_calls.h"
#include "platform/platform.h"
#include "platform/sdl/page_view.h"
#include "platform/sdl/quit_signals.h"
#include "platform/sdl/x11_window_name.h"
#include "platform/translation.h"
#include "platform/window/virtual_keys.h"

namespace {

constexpr std::uint64_t SLEEP_SLICE_MS = 10;
constexpr int MAX_PEEKED_EVENTS = 64;
constexpr char MESSAGE_TITLE[] = "yomu";
// The smallest window a reader can drag the frame to: a page whose text stays legible.
constexpr int MINIMUM_WIDTH = CLIENT_WIDTH / 2;
constexpr int MINIMUM_HEIGHT = CLIENT_HEIGHT / 2;

// The display less its panels and docks, where the window manager tells it.
SDL_Rect UsableArea(int display) {
  SDL_Rect area{};
  if (SDL_GetDisplayUsableBounds(display, &area) != 0 || area.w <= 0 || area.h <= 0) {
    SDL_GetDisplayBounds(display, &area);
  }
  return area;
}

// A surface laid out as the window's client area: the page's size, rows and format.
bool HoldsPage(const SDL_Surface& surface) {
  return surface.w == CLIENT_WIDTH && surface.h == CLIENT_HEIGHT &&
         surface.pitch == CLIENT_WIDTH * 4 && surface.format->format == SDL_PIXELFORMAT_RGB888 &&
         !SDL_MUSTLOCK(&surface);
}

bool IsWaylandDriver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && std::strcmp(driver, "wayland") == 0;
}

// The reader takes no typed text, so its input method needs no compose sequences.
// In a UTF-8 locale X's input method reads the system's whole table of them when the
// video starts (26 ms and half a megabyte measured here); an empty file stands in
// for it while the video starts. The variable is then as it was, so that the
// programs the reader runs, the file chooser among them, compose as the desktop does.
class WithoutComposeTable {
 public:
  WithoutComposeTable() {
    if (const char* own = std::getenv(VARIABLE)) own_ = own;
    setenv(VARIABLE, "/dev/null", 1);
  }
  ~WithoutComposeTable() {
    if (own_) {
      setenv(VARIABLE, own_->c_str(), 1);
    } else {
      unsetenv(VARIABLE);
    }
  }
  WithoutComposeTable(const WithoutComposeTable&) = delete;
  WithoutComposeTable& operator=(const WithoutComposeTable&) = delete;

 private:
  static constexpr char VARIABLE[] = "XCOMPOSEFILE";
  std::optional<std::string> own_;
};

// The session's own display server, when no driver is asked for: Wayland in a Wayland
// session (SDL 2.26 would take its X server for compatibility instead), then X when
// a display is named. Left to itself SDL now and then passes over X and settles on a
// driver that shows nothing.
bool InitVideo() {
  if (std::getenv("SDL_VIDEODRIVER") == nullptr) {
    const char* session = std::getenv("XDG_SESSION_TYPE");
    const bool wayland = std::getenv("WAYLAND_DISPLAY") != nullptr &&
                         (session == nullptr || std::strcmp(session, "wayland") == 0);
    for (const char* driver : {wayland ? "wayland" : "", std::getenv("DISPLAY") ? "x11" : ""}) {
      if (*driver == '\0') continue;
      SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
      if (SDL_Init(SDL_INIT_VIDEO) == 0) return true;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, nullptr);
  }
  return SDL_Init(SDL_INIT_VIDEO) == 0;
}

}  // namespace

ErrorOr<std::unique_ptr<SdlBackend>, std::string> SdlBackend::Create(int scale) {
  BlockQuitSignals();
  // The software window surface: under X it starts far faster and smaller than
  // the OpenGL path, and whole-factor scaling needs nothing more.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  if (const WithoutComposeTable no_compose; !InitVideo()) {
    return std::string(SDL_GetError());
  }
  // SDL takes typed text from the start; the reader takes keys alone. Left on, an
  // input method switched to Japanese (IBus, Fcitx) would take letter keys for its
  // own, and every key would make a round trip to it first.
  SDL_StopTextInput();
  // Wayland has no window surface of its own: SDL's texture stands in for it.
  if (IsWaylandDriver()) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "1");
  // SDL falls back to drivers that show nothing on any screen.
  const std::string driver = SDL_GetCurrentVideoDriver();
  if (driver == "offscreen" || driver == "dummy" || driver == "evdev") {
    SDL_Quit();
    return Formatted(_("no display (SDL chose its %s video driver)"), driver);
  }
  return std::unique_ptr<SdlBackend>(new SdlBackend(scale));
}

SdlBackend::~SdlBackend() {
  pads_.clear();
  // The reader's window, whose client area may lie in the surface, has gone before.
  if (sdl_window_ != nullptr) SDL_DestroyWindow(sdl_window_);
  SDL_Quit();
}

std::function<void()> SdlBackend::Waker() {
  const Uint32 type = SDL_RegisterEvents(1);
  return [type] {
    SDL_Event event{};
    event.type = type;
    SDL_PushEvent(&event);
  };
}

std::optional<int> PadKeyOf(const SDL_ControllerButtonEvent& button) {
  const char* name = SDL_GameControllerGetStringForButton(
      static_cast<SDL_GameControllerButton>(button.button));
  return name != nullptr ? VirtualPadKeyFromName(name) : std::nullopt;
}

void SdlBackend::StartPads() {
  if (std::exchange(pads_started_, true)) return;
  // Buttons by their place, as the reader's keys name them: A is the south button
  // on every pad, whatever its label.
  SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
  // Without pads the reader reads on: they are a comfort, not a need.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    Warn(Formatted(_("no gamepads (%s)"), SDL_GetError()));
  }
}

// Each pad is opened as it comes (those plugged in at the start come too), and let go
// as it goes.
void SdlBackend::TranslatePad(Window& window, const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      if (SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which)) {
        pads_.insert_or_assign(SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)),
                               Pad(pad, SDL_GameControllerClose));
      }
      return;
    case SDL_CONTROLLERDEVICEREMOVED:
      pads_.erase(event.cdevice.which);
      return;
    default:
      break;
  }
  const std::optional<int> key = PadKeyOf(event.cbutton);
  if (!key) return;
  const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
  PostMessageA(window, down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(*key), 0);
}

std::uint64_t SdlBackend::NowMs() { return SDL_GetTicks64(); }

// When the window opens, or before any wait of the reader's if that comes first.
void SdlBackend::TakeQuitSignalsOnce() {
  if (!std::exchange(quit_signals_taken_, true)) TakeQuitSignals();
}

// The wait looks at the window's events every few milliseconds: the close button
// ends it, and the window stays answering (the desktop's pings are answered too).
void SdlBackend::Sleep(std::uint32_t milliseconds) {
  TakeQuitSignalsOnce();
  ShowWaitingCaption();
  const std::uint64_t until = NowMs() + milliseconds;
  while (!close_requested_) {
    close_requested_ = CloseWaiting();
    const std::uint64_t now = NowMs();
    if (close_requested_ || now >= until) return;
    SDL_Delay(static_cast<Uint32>(std::min<std::uint64_t>(until - now, SLEEP_SLICE_MS)));
  }
}

bool SdlBackend::AnswerWhileWaiting() {
  TakeQuitSignalsOnce();
  close_requested_ = close_requested_ || CloseWaiting();
  return !close_requested_;
}

bool SdlBackend::CloseWaiting() {
  SDL_PumpEvents();
  SDL_Event events[MAX_PEEKED_EVENTS];
  if (SDL_PeepEvents(events, MAX_PEEKED_EVENTS, SDL_PEEKEVENT, SDL_QUIT, SDL_QUIT) > 0) return true;
  const int count =
      SDL_PeepEvents(events, MAX_PEEKED_EVENTS, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
  for (int i = 0; i < count; ++i) {
    if (events[i].window.event == SDL_WINDOWEVENT_CLOSE) return true;
  }
  return false;
}

int SdlBackend::StartScale(const SDL_Rect& usable) const {
  if (requested_scale_ > 0) return requested_scale_;
  const int fitting = FittingScale(usable.w, usable.h, 0, 0);
  return recalled_.scale > 0 ? std::min(recalled_.scale, fitting) : fitting;
}

SDL_Point SdlBackend::StartPlace(int scale) const {
  std::vector<SDL_Rect> displays;
  for (int display = 0; display < SDL_GetNumVideoDisplays(); ++display) {
    SDL_Rect bounds{};
    if (SDL_GetDisplayBounds(display, &bounds) == 0) displays.push_back(bounds);
  }
  const SDL_Rect page{recalled_.x, recalled_.y, CLIENT_WIDTH * scale, CLIENT_HEIGHT * scale};
  if (recalled_.placed && LiesOnADisplay(page, displays)) return {page.x, page.y};
  return {static_cast<int>(SDL_WINDOWPOS_CENTERED), static_cast<int>(SDL_WINDOWPOS_CENTERED)};
}

void SdlBackend::CreateSdlWindow(Window& window) {
  const SDL_Rect usable = UsableArea(0);
  scale_ = StartScale(usable);
  const SDL_Point place = StartPlace(scale_);
  sdl_window_ = SDL_CreateWindow(caption_utf8_.c_str(), place.x, place.y, CLIENT_WIDTH * scale_,
                                 CLIENT_HEIGHT * scale_, SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
  window_ = &window;
  TakeQuitSignalsOnce();
  if (sdl_window_ == nullptr) {
    Warn(Formatted(_("cannot open the window: %s"), SDL_GetError()));
    return;
  }
  SetLegacyWindowName(sdl_window_, caption_utf8_);
  SDL_SetWindowMinimumSize(sdl_window_, MINIMUM_WIDTH, MINIMUM_HEIGHT);
  if (requested_scale_ == 0) FitFrameIntoUsableArea(usable);
  // Whatever the reader drew before the window existed is shown now.
  RefreshView();
}

// The frame is known only once the window is on screen; a window that then
// overflows the usable area goes down a factor, or more, and back to its middle.
void SdlBackend::FitFrameIntoUsableArea(const SDL_Rect& usable) {
  int top = 0, left = 0, bottom = 0, right = 0;
  if (SDL_GetWindowBordersSize(sdl_window_, &top, &left, &bottom, &right) != 0) return;
  const int fitting = FittingScale(usable.w, usable.h, left + right, top + bottom);
  if (fitting >= scale_) return;
  scale_ = fitting;
  TakePageOutOfSurface();
  SDL_SetWindowSize(sdl_window_, CLIENT_WIDTH * scale_, CLIENT_HEIGHT * scale_);
  const int outer_width = CLIENT_WIDTH * scale_ + left + right;
  const int outer_height = CLIENT_HEIGHT * scale_ + top + bottom;
  SDL_SetWindowPosition(sdl_window_, usable.x + (usable.w - outer_width) / 2 + left,
                        usable.y + (usable.h - outer_height) / 2 + top);
}

void SdlBackend::ScaleWindow(int scale) {
  if (sdl_window_ == nullptr || full_screen_) return;
  const SDL_Rect usable = UsableArea(SDL_GetWindowDisplayIndex(sdl_window_));
  scale_ = std::clamp(scale, 1, FittingScale(usable.w, usable.h, 0, 0));
  TakePageOutOfSurface();
  SDL_SetWindowSize(sdl_window_, CLIENT_WIDTH * scale_, CLIENT_HEIGHT * scale_);
  RefreshView();
}

// A size the reader gave the window by its frame: the page takes the largest 4:3
// place in it, and the nearest whole factor is the scale kept for the next start.
void SdlBackend::WindowResized() {
  RefreshView();
  if (!full_screen_) scale_ = std::max(1, (view_.width + CLIENT_WIDTH / 2) / CLIENT_WIDTH);
}

std::optional<SDL_Point> SdlBackend::WindowedPlace() const {
  if (sdl_window_ == nullptr || IsWaylandDriver()) return std::nullopt;
  SDL_Point place{};
  SDL_GetWindowPosition(sdl_window_, &place.x, &place.y);
  return place;
}

std::optional<WindowPlace> SdlBackend::WindowPlaceToKeep() {
  if (sdl_window_ == nullptr) return std::nullopt;
  const std::optional<SDL_Point> place = full_screen_ ? place_before_full_screen_ : WindowedPlace();
  return WindowPlace{scale_, place.has_value(), place ? place->x : 0, place ? place->y : 0};
}

void SdlBackend::WindowPlaced(Window& window) {
  if (sdl_window_ == nullptr && window.visible()) CreateSdlWindow(window);
  if (sdl_window_ != nullptr)
    SDL_SetWindowAlwaysOnTop(sdl_window_, window.topmost() ? SDL_TRUE : SDL_FALSE);
}

void SdlBackend::WindowCaptionChanged(const Window& window, std::string_view caption_sjis) {
  caption_utf8_ = window.host().ToUtf8(caption_sjis);
  caption_waiting_ = sdl_window_ != nullptr;
}

// The title bar is the window system's: the page that the click changed goes out
// first, and the caption follows when the reader waits.
void SdlBackend::ShowWaitingCaption() {
  if (std::exchange(caption_waiting_, false) && sdl_window_ != nullptr) {
    SDL_SetWindowTitle(sdl_window_, caption_utf8_.c_str());
    SetLegacyWindowName(sdl_window_, caption_utf8_);
  }
}

void SdlBackend::ShowWindowPixels(const Window& window, const RECT& changed) {
  ShowBitmap(window.client_pixels(), changed);
}

void SdlBackend::ShowBitmap(const Bitmap& page, const RECT& changed) {
  if (sdl_window_ == nullptr) return;
  SDL_Surface* surface = WindowSurface();
  if (surface == nullptr || SDL_LockSurface(surface) != 0) return;
  // The client area in the surface is there already.
  if (page.row(0) != surface->pixels) ShowPage(page, changed, view_, *surface);
  SDL_UnlockSurface(surface);
  const SDL_Rect shown{view_.SurfaceX(changed.left), view_.SurfaceY(changed.top),
                       view_.SurfaceX(changed.right) - view_.SurfaceX(changed.left),
                       view_.SurfaceY(changed.bottom) - view_.SurfaceY(changed.top)};
  SDL_UpdateWindowSurfaceRects(sdl_window_, &shown, 1);
}

// The page's place after the window's surface changed size: the borders, if the
// page leaves any, go black, and the page is shown anew.
void SdlBackend::RefreshView() {
  SDL_Surface* surface = WindowSurface();
  if (surface == nullptr) return;
  view_ = PageView::Fit(surface->w, surface->h);
  if (view_.width != surface->w || view_.height != surface->h) {
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_UpdateWindowSurface(sdl_window_);
  }
  if (window_ == nullptr) return;
  if (page_in_surface_ == nullptr) PutPageInSurface(*surface);
  ShowWholeClientArea(*window_);
}

// A window shown before its first page is drawn waits for that page: showing the
// blank client area first would keep the reader waiting for the window system.
void SdlBackend::ShowWholeClientArea(const Window& window) {
  if (window.drawn()) ShowBitmap(window.client_pixels(), {0, 0, CLIENT_WIDTH, CLIENT_HEIGHT});
}

SDL_Surface* SdlBackend::WindowSurface() {
  SDL_Surface* surface = SDL_GetWindowSurface(sdl_window_);
  if (page_in_surface_ != nullptr &&
      (surface == nullptr || surface->pixels != page_in_surface_ || !HoldsPage(*surface))) {
    // The window system changed the window's size behind the reader's back, and SDL
    // released the surface that held the page: the page is painted anew.
    page_in_surface_ = nullptr;
    window_->PlaceClientPixels(nullptr, Window::Pixels::Lost);
  }
  return surface;
}

void SdlBackend::PutPageInSurface(SDL_Surface& surface) {
  if (!HoldsPage(surface) || window_ == nullptr) return;
  page_in_surface_ = static_cast<std::uint32_t*>(surface.pixels);
  window_->PlaceClientPixels(page_in_surface_, Window::Pixels::Kept);
}

void SdlBackend::TakePageOutOfSurface() {
  if (page_in_surface_ == nullptr) return;
  page_in_surface_ = nullptr;
  window_->PlaceClientPixels(nullptr, Window::Pixels::Kept);
}

POINT SdlBackend::PagePoint(int x, int y) {
  // Window points to surface pixels, which differ on high-density screens.
  int window_width = 0, window_height = 0;
  SDL_GetWindowSize(sdl_window_, &window_width, &window_height);
  SDL_Surface* surface = WindowSurface();
  if (surface != nullptr && window_width > 0 && window_height > 0) {
    x = x * surface->w / window_width;
    y = y * surface->h / window_height;
  }
  return {view_.PageX(x), view_.PageY(y)};
}

LPARAM SdlBackend::PagePosition(int x, int y) {
  const POINT point = PagePoint(x, y);
  return MAKELPARAM(point.x, point.y);
}

void SdlBackend::Translate(Platform& platform, const SDL_Event& event) {
  if (!platform.window) return;
  Window& window = *platform.window;
  switch (event.type) {
    case SDL_QUIT:
      PostMessageA(window, WM_CLOSE, 0, 0);
      return;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) WindowResized();
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
        // The window system lost what the window showed, and a paint sends only the
        // rows that it alters: the whole client area goes out again.
        ShowWholeClientArea(window);
        InvalidateRect(window);
      }
      if (event.window.event == SDL_WINDOWEVENT_CLOSE) PostMessageA(window, WM_CLOSE, 0, 0);
      return;
    case SDL_MOUSEMOTION:
      PostMessageA(window, WM_MOUSEMOVE, 0, PagePosition(event.motion.x, event.motion.y));
      return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool down = event.type == SDL_MOUSEBUTTONDOWN;
      const LPARAM position = PagePosition(event.button.x, event.button.y);
      if (event.button.button == SDL_BUTTON_LEFT) {
        PostMessageA(window, down ? WM_LBUTTONDOWN : WM_LBUTTONUP, down ? MK_LBUTTON : 0, position);
      } else if (event.button.button == SDL_BUTTON_RIGHT) {
        PostMessageA(window, down ? WM_RBUTTONDOWN : WM_RBUTTONUP, down ? MK_RBUTTON : 0, position);
      } else if (event.button.button == SDL_BUTTON_MIDDLE) {
        PostMessageA(window, down ? WM_MBUTTONDOWN : WM_MBUTTONUP, down ? MK_MBUTTON : 0, position);
      }
      return;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      TranslateKey(window, event.key);
      return;
    case SDL_MOUSEWHEEL:
      TranslateWheel(window, event.wheel);
      return;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
      TranslatePad(window, event);
      return;
    default:
      return;
  }
}

// Keys pressed with Alt held arrive as system keys, as the window system sends them;
// a key held down repeats with its repeat flag.
void SdlBackend::TranslateKey(Window& window, const SDL_KeyboardEvent& key) {
  const std::optional<int> code = VirtualKeyFromName(SDL_GetKeyName(key.keysym.sym));
  if (!code) return;
  const bool down = key.type == SDL_KEYDOWN;
  const bool alt = (key.keysym.mod & KMOD_ALT) != 0;
  const UINT message = alt ? (down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (down ? WM_KEYDOWN : WM_KEYUP);
  const DWORD flags = (alt ? KF_ALTDOWN : 0u) | (key.repeat != 0 ? KF_REPEAT : 0u);
  PostMessageA(window, message, static_cast<WPARAM>(*code), static_cast<LPARAM>(flags << 16));
}

// SDL counts notches away from the reader as positive, as the window system does.
void SdlBackend::TranslateWheel(Window& window, const SDL_MouseWheelEvent& wheel) {
  int notches = wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -wheel.y : wheel.y;
  notches = std::clamp(notches, -0x7FFF / WHEEL_DELTA, 0x7FFF / WHEEL_DELTA);
  if (notches == 0) return;
  POINT screen{};
  PointerPosition(&screen);
  ClientToScreen(window, &screen);
  PostMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA),
               MAKELPARAM(screen.x, screen.y));
}

bool SdlBackend::PointerPosition(POINT* client_point) {
  if (sdl_window_ == nullptr) return false;
  int x = 0, y = 0;
  SDL_GetMouseState(&x, &y);
  *client_point = PagePoint(x, y);
  return true;
}

void SdlBackend::SetClipboardText(std::string_view text_utf8) {
  ::SDL_SetClipboardText(std::string(text_utf8).c_str());
}

bool SdlBackend::WaitForInput(Platform& platform, std::optional<std::uint64_t> deadline_ms) {
  TakeQuitSignalsOnce();
  ShowWaitingCaption();
  for (const std::string& message : std::exchange(deferred_messages_, {})) {
    ShowMessage(platform, message);
  }
  if (sdl_window_ != nullptr) StartPads();
  SDL_Event event;
  bool got = false;
  if (deadline_ms) {
    const std::uint64_t now = NowMs();
    const int timeout = *deadline_ms > now
                            ? static_cast<int>(std::min<std::uint64_t>(*deadline_ms - now, 1 << 30))
                            : 0;
    got = SDL_WaitEventTimeout(&event, timeout) == 1;
  } else {
    got = SDL_WaitEvent(&event) == 1;
  }
  // Everything that arrived together is posted in its order.
  while (got) {
    Translate(platform, event);
    got = SDL_PollEvent(&event) == 1;
  }
  // The media player's wake-up (a CD track that ended) and the speech service's
  // arrive as events of their own; whatever woke the loop, they catch up here on the
  // reader's thread.
  if (platform.media) platform.media->Update(*platform.volume);
  CheckSpeech(platform);
  return true;
}

void SdlBackend::ShowMessageAlone(std::string_view text_utf8) {
  // Where no box can be shown, standard error has the text already.
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, MESSAGE_TITLE, std::string(text_utf8).c_str(),
                           nullptr);
}

bool SdlBackend::WaitModal(SDL_Event& event) {
  TakeQuitSignalsOnce();
  if (SDL_WaitEvent(&event) != 1) return false;
  const bool closing = event.type == SDL_QUIT || (event.type == SDL_WINDOWEVENT &&
                                                  event.window.event == SDL_WINDOWEVENT_CLOSE);
  // The quit waits for the loop over the page to end, then reaches the window as usual.
  if (closing) SDL_PushEvent(&event);
  return !closing;
}

// The modes the screen offers, and a 640 x 480 of our own where it offers none:
// that one shows the page enlarged to fill the screen, with black borders.
std::vector<DEVMODEA> SdlBackend::DisplayModes() {
  std::vector<DEVMODEA> modes;
  bool page_sized = false;
  for (int index = 0; index < SDL_GetNumDisplayModes(0); ++index) {
    SDL_DisplayMode mode{};
    if (SDL_GetDisplayMode(0, index, &mode) != 0) continue;
    modes.push_back({static_cast<DWORD>(SDL_BITSPERPIXEL(mode.format)), static_cast<DWORD>(mode.w),
                     static_cast<DWORD>(mode.h), static_cast<DWORD>(mode.refresh_rate)});
    page_sized = page_sized || (mode.w == CLIENT_WIDTH && mode.h == CLIENT_HEIGHT);
  }
  if (!page_sized) modes.push_back({32, CLIENT_WIDTH, CLIENT_HEIGHT, 60});
  return modes;
}

DEVMODEA SdlBackend::CurrentDisplayMode() {
  SDL_DisplayMode desktop{};
  SDL_GetDesktopDisplayMode(0, &desktop);
  return {32, static_cast<DWORD>(desktop.w), static_cast<DWORD>(desktop.h),
          static_cast<DWORD>(desktop.refresh_rate)};
}

long SdlBackend::ChangeDisplayMode(const DEVMODEA* mode) {
  if (mode == nullptr) {
    if (sdl_window_ != nullptr && full_screen_) {
      TakePageOutOfSurface();
      SDL_SetWindowFullscreen(sdl_window_, 0);
      full_screen_ = false;
      SDL_SetWindowSize(sdl_window_, CLIENT_WIDTH * scale_, CLIENT_HEIGHT * scale_);
      // Back where it was before full screen.
      const SDL_Point centred{static_cast<int>(SDL_WINDOWPOS_CENTERED),
                              static_cast<int>(SDL_WINDOWPOS_CENTERED)};
      const SDL_Point place =
          std::exchange(place_before_full_screen_, std::nullopt).value_or(centred);
      SDL_SetWindowPosition(sdl_window_, place.x, place.y);
      RefreshView();
    }
    return DISP_CHANGE_SUCCESSFUL;
  }
  if (mode->dmPelsWidth != CLIENT_WIDTH || mode->dmPelsHeight != CLIENT_HEIGHT)
    return DISP_CHANGE_BADMODE;
  if (sdl_window_ == nullptr) return DISP_CHANGE_SUCCESSFUL;
  if (!full_screen_) place_before_full_screen_ = WindowedPlace();
  TakePageOutOfSurface();
  // The screen's own 640 x 480 where it has one; otherwise the page fills the desktop.
  // Wayland's modes are SDL's emulation, which the compositor may show cropped: there
  // the page always fills the desktop.
  SDL_DisplayMode wanted{0, CLIENT_WIDTH, CLIENT_HEIGHT, static_cast<int>(mode->dmDisplayFrequency),
                         nullptr};
  SDL_DisplayMode closest{};
  const bool switched = !IsWaylandDriver() &&
                        SDL_GetClosestDisplayMode(0, &wanted, &closest) != nullptr &&
                        closest.w == CLIENT_WIDTH && closest.h == CLIENT_HEIGHT &&
                        SDL_SetWindowDisplayMode(sdl_window_, &closest) == 0 &&
                        SDL_SetWindowFullscreen(sdl_window_, SDL_WINDOW_FULLSCREEN) == 0;
  if (!switched) {
    // Placed over the whole display first, for X servers without a window manager.
    SDL_Rect bounds{};
    SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(sdl_window_), &bounds);
    SDL_SetWindowPosition(sdl_window_, bounds.x, bounds.y);
    SDL_SetWindowSize(sdl_window_, bounds.w, bounds.h);
    SDL_SetWindowFullscreen(sdl_window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
  }
  full_screen_ = true;
  RefreshView();
  return DISP_CHANGE_SUCCESSFUL;
}
