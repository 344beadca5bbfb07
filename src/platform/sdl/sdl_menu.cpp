// The popup menu in the real window: tracked modally over the page, drawn by the
// program itself, answered by the pointer or the keys.
#include <SDL.h>

#include "platform/calls/speech_calls.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/window/menu_view.h"
#include "platform/window/virtual_keys.h"

std::optional<UINT> SdlBackend::TrackMenu(Platform& platform, const Menu& menu, int x, int y) {
  if (sdl_window_ == nullptr || window_ == nullptr) return std::nullopt;
  if (!menu_font_) menu_font_ = platform.fonts.Create(MENU_TEXT_HEIGHT, 400);
  POINT origin{x, y};
  ScreenToClient(*window_, &origin);
  MenuView view(menu, origin.x, origin.y, menu_font_.get(), CLIENT_WIDTH, CLIENT_HEIGHT);
  const RECT whole{0, 0, CLIENT_WIDTH, CLIENT_HEIGHT};
  // The page under the menu, apart: the client area may lie in the surface itself.
  const Bitmap page = window_->client_pixels();
  auto redraw = [&] {
    Bitmap canvas = page;
    view.Draw(canvas);
    ShowBitmap(canvas, whole);
  };
  redraw();

  // The item under the highlight is spoken whenever the highlight moves.
  const MenuItem* highlighted = nullptr;
  auto speak = [&] {
    const MenuItem* now = view.HighlightedItem();
    if (now != nullptr && now != highlighted) {
      Speak(platform, platform.shift_jis.ToUtf8(now->label_sjis), Utterance::Text);
    }
    highlighted = now;
  };

  MenuView::Outcome outcome;
  SDL_Event event;
  while (!outcome.closed) {
    if (!WaitModal(event)) break;
    switch (event.type) {
      case SDL_MOUSEMOTION: {
        const POINT at = PagePoint(event.motion.x, event.motion.y);
        view.PointerMoved(at.x, at.y);
        break;
      }
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP: {
        const POINT at = PagePoint(event.button.x, event.button.y);
        outcome = event.type == SDL_MOUSEBUTTONDOWN ? view.ButtonDown(at.x, at.y)
                                                    : view.ButtonUp(at.x, at.y);
        break;
      }
      case SDL_KEYDOWN:
        if (std::optional<int> key = VirtualKeyFromName(SDL_GetKeyName(event.key.keysym.sym)))
          outcome = view.Key(*key);
        break;
      case SDL_CONTROLLERBUTTONDOWN:
        if (std::optional<int> key = PadKeyOf(event.cbutton)) outcome = view.Key(*key);
        break;
      case SDL_WINDOWEVENT:
        outcome.closed = event.window.event == SDL_WINDOWEVENT_FOCUS_LOST;
        break;
      default:
        continue;
    }
    if (!outcome.closed) {
      speak();
      redraw();
    }
  }
  ShowBitmap(page, whole);
  return outcome.command;
}
