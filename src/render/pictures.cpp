// Pictures: "BMP" loads a picture file and copies it to the page and to the
// background half.
#include "render/pictures.h"

#include <memory>
#include <utility>

#include "platform/gdi/picture_file.h"
#include "reader/line_arguments.h"
#include "reader/reader.h"
#include "render/surfaces.h"

namespace {
// At most 19 bytes of name and the terminator.
constexpr int PICTURE_NAME_SIZE = 20;

// The new picture goes in before the one it replaces is released.
void ReplacePicture(ReaderState& s, std::unique_ptr<Bitmap> picture) {
  SelectObject(*s.PictureSurface, picture.get());
  s.PictureBitmap = std::move(picture);
}
}  // namespace

std::unique_ptr<Bitmap> LoadLinePicture(Reader& r, const char* line) {
  char name_sjis[PICTURE_NAME_SIZE] = {};
  // A line without a name that fits loads nothing, like a missing file.
  if (!QuotedName(line, name_sjis, sizeof name_sjis)) return nullptr;
  return LoadImageA(r.platform, name_sjis, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
}

bool CoversPage(const Bitmap& picture) {
  return picture.width() >= PAGE_WIDTH && picture.height() >= PAGE_HEIGHT;
}

void ShowPicture(ReaderState& s, std::unique_ptr<Bitmap> picture) {
  if (!s.PictureSurface || !s.PageSurface) return;
  if (picture) ReplacePicture(s, std::move(picture));
  // Made after a failed load too: the previous picture covers the text again.
  BitBlt(*s.PageSurface, 0, 0, PAGE_WIDTH, PAGE_HEIGHT, *s.PictureSurface, 0, 0, SRCCOPY);
  BitBlt(*s.PageSurface, 0, PAGE_HEIGHT, PAGE_WIDTH, PAGE_HEIGHT, *s.PictureSurface, 0, 0, SRCCOPY);
}

void CmdPicture(Reader& r) {
  ReaderState& s = r.state;
  if (!s.PictureSurface || !s.PageSurface) return;
  ShowPicture(s, LoadLinePicture(r, s.ScriptLines[s.CurrentLine]));
}
