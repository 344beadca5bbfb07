// The surfaces and fonts of the page.
#include "render/surfaces.h"

#include "reader/reader.h"
#include "reader/texts.h"

namespace {

std::unique_ptr<Font> CreateMinchoFont(Reader& r, int height) {
  return CreateFontA(r.platform.fonts, height, 0, 0, 0, FW_HEAVY, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0,
                     0, FIXED_PITCH | FF_ROMAN, texts::FONT_FACE);
}

// A new bitmap is black already, as the page starts: painting it black would only
// make the system commit its memory, background half included.
void PrepareForText(Surface& surface, COLORREF text_color) {
  SetTextColor(surface, text_color);
  SetBkMode(surface, TRANSPARENT);
}

}  // namespace

void CreateSurfaces(Reader& r, Window& window) {
  ReaderState& s = r.state;
  s.WindowDC = GetDC(window);
  s.PageSurface = CreateCompatibleDC(s.WindowDC);
  s.PageBitmap = CreateCompatibleBitmap(s.WindowDC, PAGE_WIDTH, PAGE_HEIGHT * 2);
  SelectObject(*s.PageSurface, s.PageBitmap.get());
  s.StatusSurface = CreateCompatibleDC(s.WindowDC);
  s.StatusBitmap = CreateCompatibleBitmap(s.WindowDC, 400, 100);
  SelectObject(*s.StatusSurface, s.StatusBitmap.get());

  PrepareForText(*s.PageSurface, BrightnessGrey(s.TextBrightness));
  PrepareForText(*s.StatusSurface, BrightnessGrey(s.TextBrightness));

  s.PictureSurface = CreateCompatibleDC(s.WindowDC);
  ReleaseDC(window, s.WindowDC);
  s.WindowDC = nullptr;

  s.FontNormal = CreateMinchoFont(r, 24);
  s.FontLarge = CreateMinchoFont(r, 42);
  s.FontSmall = CreateMinchoFont(r, 12);
  s.FontStrip = CreateMinchoFont(r, STRIP_FONT_HEIGHT);
  SelectObject(*s.PageSurface, static_cast<const Font*>(s.FontNormal.get()));
  SelectObject(*s.StatusSurface, static_cast<const Font*>(s.FontSmall.get()));
}

void ReleaseSurfaces(Reader& r) {
  ReaderState& s = r.state;
  s.PageSurface.reset();
  s.StatusSurface.reset();
  s.PictureSurface.reset();
  s.PageBitmap.reset();
  s.StatusBitmap.reset();
  s.FontNormal.reset();
  s.FontLarge.reset();
  s.FontSmall.reset();
  s.FontStrip.reset();
  s.PictureBitmap.reset();
  s.PictureInBackground = false;
  s.NextPicture = {};
}

void PresentPage(Reader& r, Surface* device_context) {
  if (device_context == nullptr || !r.state.PageSurface) return;
  BitBlt(*device_context, 0, 0, PAGE_WIDTH, PAGE_HEIGHT, *r.state.PageSurface, 0, 0, SRCCOPY);
}

COLORREF BrightnessGrey(std::int32_t percent) {
  const std::int64_t quotient = std::int64_t{percent} * 255 / 100;
  const int grey = static_cast<int>(quotient & 0xFF);
  return RGB(grey, grey, grey);
}
