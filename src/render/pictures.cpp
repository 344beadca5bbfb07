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

void CmdPicture(Reader& r) {
  ReaderState& s = r.state;
  if (!s.PictureSurface || !s.PageSurface) return;
  char name_sjis[PICTURE_NAME_SIZE] = {};
  // A line without a name that fits loads nothing, like a missing file.
  if (QuotedName(s.ScriptLines[s.CurrentLine], name_sjis, sizeof name_sjis)) {
    std::unique_ptr<Bitmap> picture = LoadImageA(r.platform, name_sjis, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (picture) ReplacePicture(s, std::move(picture));
  }
  // Made after a failed load too: the previous picture covers the text again.
  BitBlt(*s.PageSurface, 0, 0, PAGE_WIDTH, PAGE_HEIGHT, *s.PictureSurface, 0, 0, SRCCOPY);
  BitBlt(*s.PageSurface, 0, PAGE_HEIGHT, PAGE_WIDTH, PAGE_HEIGHT, *s.PictureSurface, 0, 0, SRCCOPY);
}
