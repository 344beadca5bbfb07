// The real window on SDL2.
#include "platform/sdl/sdl_backend.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/platform.h"
#include "platform/window/virtual_keys.h"

namespace {

// Leaves room for the desktop's panels and the window's frame.
int FittingScale(const SDL_DisplayMode& desktop) {
  const int by_width = desktop.w * 9 / 10 / CLIENT_WIDTH;
  const int by_height = desktop.h * 9 / 10 / CLIENT_HEIGHT;
  return std::max(1, std::min(by_width, by_height));
}

// Copies a rectangle of the page to the window's surface, each page pixel as a
// scale × scale block.
void CopyScaled(const Bitmap& page, const RECT& changed, int scale, SDL_Surface& target, int origin_x = 0,
                int origin_y = 0) {
  const int right = std::min<int>(changed.right, page.width());
  const int bottom = std::min<int>(changed.bottom, page.height());
  for (int y = std::max(0, changed.top); y < bottom; ++y) {
    for (int copy = 0; copy < scale; ++copy) {
      const int target_y = y * scale + copy - origin_y;
      if (target_y < 0 || target_y >= target.h) continue;
      auto* out = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(target.pixels) +
                                                   static_cast<std::ptrdiff_t>(target_y) * target.pitch);
      const std::uint32_t* in = page.row(y);
      for (int x = std::max(0, changed.left); x < right; ++x) {
        const int target_x = x * scale - origin_x;
        const int limit = std::min(scale, target.w - target_x);
        for (int k = 0; k < limit && target_x >= 0; ++k) out[target_x + k] = in[x];
      }
    }
  }
}

// A window surface of another pixel format: scaled into a buffer of the page's
// format, then converted.
void CopyConverted(const Bitmap& page, const RECT& changed, int scale, SDL_Surface& target) {
  const RECT clipped{std::max(0, changed.left), std::max(0, changed.top), std::min<int>(changed.right, page.width()),
                     std::min<int>(changed.bottom, page.height())};
  const int width = (clipped.right - clipped.left) * scale;
  const int height = (clipped.bottom - clipped.top) * scale;
  if (width <= 0 || height <= 0 || clipped.left * scale + width > target.w ||
      clipped.top * scale + height > target.h) {
    return;
  }
  std::vector<std::uint32_t> buffer(static_cast<std::size_t>(width) * height);
  SDL_Surface staging{};
  staging.w = width;
  staging.h = height;
  staging.pitch = width * 4;
  staging.pixels = buffer.data();
  CopyScaled(page, clipped, scale, staging, clipped.left * scale, clipped.top * scale);
  auto* out = static_cast<std::uint8_t*>(target.pixels) + static_cast<std::ptrdiff_t>(clipped.top) * scale * target.pitch +
              clipped.left * scale * target.format->BytesPerPixel;
  SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_RGB888, buffer.data(), width * 4, target.format->format, out,
                    target.pitch);
}

}  // namespace

std::unique_ptr<SdlBackend> SdlBackend::Create(int scale, std::string& error) {
  // The software window surface: under X it starts far faster and smaller than
  // the OpenGL path, and whole-factor scaling needs nothing more.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    error = SDL_GetError();
    return nullptr;
  }
  return std::unique_ptr<SdlBackend>(new SdlBackend(scale));
}

SdlBackend::~SdlBackend() {
  if (sdl_window_ != nullptr) SDL_DestroyWindow(sdl_window_);
  SDL_Quit();
}

std::uint64_t SdlBackend::NowMs() { return SDL_GetTicks64(); }

void SdlBackend::Sleep(std::uint32_t milliseconds) { SDL_Delay(milliseconds); }

void SdlBackend::CreateSdlWindow(const Window& window) {
  SDL_DisplayMode desktop{};
  SDL_GetDesktopDisplayMode(0, &desktop);
  scale_ = requested_scale_ > 0 ? requested_scale_ : FittingScale(desktop);
  sdl_window_ = SDL_CreateWindow(caption_utf8_.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                 CLIENT_WIDTH * scale_, CLIENT_HEIGHT * scale_, SDL_WINDOW_SHOWN);
  window_ = &window;
  if (sdl_window_ == nullptr) return;
  // Whatever the reader drew before the window existed is shown now.
  ShowWindowPixels(window, {0, 0, CLIENT_WIDTH, CLIENT_HEIGHT});
}

void SdlBackend::WindowPlaced(const Window& window) {
  if (sdl_window_ == nullptr && window.visible()) CreateSdlWindow(window);
}

void SdlBackend::WindowCaptionChanged(const Window& window, std::string_view caption_sjis) {
  caption_utf8_ = window.platform().shift_jis.ToUtf8(caption_sjis);
  if (sdl_window_ != nullptr) SDL_SetWindowTitle(sdl_window_, caption_utf8_.c_str());
}

void SdlBackend::ShowWindowPixels(const Window& window, const RECT& changed) {
  ShowBitmap(window.client_pixels(), changed);
}

void SdlBackend::ShowBitmap(const Bitmap& page, const RECT& changed) {
  if (sdl_window_ == nullptr) return;
  SDL_Surface* target = SDL_GetWindowSurface(sdl_window_);
  if (target == nullptr || SDL_LockSurface(target) != 0) return;
  if (target->format->format == SDL_PIXELFORMAT_RGB888) {
    CopyScaled(page, changed, scale_, *target);
  } else {
    CopyConverted(page, changed, scale_, *target);
  }
  SDL_UnlockSurface(target);
  const SDL_Rect shown{changed.left * scale_, changed.top * scale_, (changed.right - changed.left) * scale_,
                       (changed.bottom - changed.top) * scale_};
  SDL_UpdateWindowSurfaceRects(sdl_window_, &shown, 1);
}

LPARAM SdlBackend::PagePosition(int x, int y) const {
  return MAKELPARAM(std::clamp(x / scale_, 0, CLIENT_WIDTH - 1), std::clamp(y / scale_, 0, CLIENT_HEIGHT - 1));
}

void SdlBackend::Translate(Platform& platform, const SDL_Event& event) {
  if (!platform.window) return;
  Window& window = *platform.window;
  switch (event.type) {
    case SDL_QUIT:
      PostMessageA(window, WM_CLOSE, 0, 0);
      return;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_EXPOSED) InvalidateRect(window);
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
      }
      return;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const std::optional<int> key = VirtualKeyFromName(SDL_GetKeyName(event.key.keysym.sym));
      if (key) PostMessageA(window, event.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(*key), 0);
      return;
    }
    default:
      return;
  }
}

bool SdlBackend::WaitForInput(Platform& platform, std::optional<std::uint64_t> deadline_ms) {
  SDL_Event event;
  bool got = false;
  if (deadline_ms) {
    const std::uint64_t now = NowMs();
    const int timeout = *deadline_ms > now ? static_cast<int>(std::min<std::uint64_t>(*deadline_ms - now, 1 << 30)) : 0;
    got = SDL_WaitEventTimeout(&event, timeout) == 1;
  } else {
    got = SDL_WaitEvent(&event) == 1;
  }
  // Everything that arrived together is posted in its order.
  while (got) {
    Translate(platform, event);
    got = SDL_PollEvent(&event) == 1;
  }
  return true;
}

std::vector<DEVMODEA> SdlBackend::DisplayModes() { return {CurrentDisplayMode()}; }

DEVMODEA SdlBackend::CurrentDisplayMode() {
  SDL_DisplayMode desktop{};
  SDL_GetDesktopDisplayMode(0, &desktop);
  return {32, static_cast<DWORD>(desktop.w), static_cast<DWORD>(desktop.h), static_cast<DWORD>(desktop.refresh_rate)};
}

long SdlBackend::ChangeDisplayMode(const DEVMODEA*) { return DISP_CHANGE_SUCCESSFUL; }
