// The message box in the real window: drawn over the page by the program itself,
// so that it is as large as the page's text at every scale and closes on a quit.
#include <SDL.h>

#include <vector>

#include "platform/platform.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/utf8_text.h"
#include "platform/window/menu_view.h"
#include "platform/window/message_view.h"
#include "platform/window/virtual_keys.h"

namespace {

bool ClosesMessage(const SDL_Event& event) {
  if (event.type == SDL_MOUSEBUTTONUP) return true;
  if (event.type == SDL_CONTROLLERBUTTONDOWN) {
    const std::optional<int> button = PadKeyOf(event.cbutton);
    return button == VK_GAMEPAD_A || button == VK_GAMEPAD_B || button == VK_GAMEPAD_MENU;
  }
  if (event.type != SDL_KEYDOWN) return false;
  const SDL_Keycode key = event.key.keysym.sym;
  return key == SDLK_RETURN || key == SDLK_KP_ENTER || key == SDLK_ESCAPE || key == SDLK_SPACE;
}

}  // namespace

void SdlBackend::ShowMessage(Platform& platform, std::string_view text_utf8) {
  // Said during the start-up, before the window is on the screen: shown over the
  // first page, at the first wait for input.
  if (sdl_window_ == nullptr || window_ == nullptr) {
    deferred_messages_.emplace_back(text_utf8);
    return;
  }
  if (!menu_font_) menu_font_ = platform.fonts.Create(MENU_TEXT_HEIGHT, 400);
  std::vector<std::size_t> unconverted;
  const MessageView view(
      platform.shift_jis.FromUtf8Replacing(text_utf8, GETA_MARK_SJIS, unconverted),
      menu_font_.get(), CLIENT_WIDTH, CLIENT_HEIGHT);
  const RECT whole{0, 0, CLIENT_WIDTH, CLIENT_HEIGHT};
  // The page under the box, apart: the client area may lie in the surface itself.
  const Bitmap page = window_->client_pixels();
  Bitmap canvas = page;
  view.Draw(canvas);
  ShowBitmap(canvas, whole);
  SDL_Event event;
  while (WaitModal(event) && !ClosesMessage(event)) {
    if (event.type == SDL_WINDOWEVENT) ShowBitmap(canvas, whole);
  }
  ShowBitmap(page, whole);
}
