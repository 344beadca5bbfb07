// Pictures: "BMP" loads a picture file and copies it to the page and to the
// background half.
#include "render/pictures.h"

#include <memory>
#include <string>
#include <utility>

#include "platform/gdi/picture_file.h"
#include "reader/line_arguments.h"
#include "reader/named_files.h"
#include "reader/reader.h"
#include "reader/reading_warnings.h"
#include "render/surfaces.h"

namespace {

// The new picture goes in before the one it replaces is released.
void ReplacePicture(ReaderState& s, std::unique_ptr<Bitmap> picture) {
  SelectObject(*s.PictureSurface, picture.get());
  s.PictureBitmap = std::move(picture);
  s.PictureInBackground = false;
}

// A picture that covers the page leaves in the background half all that a copy of it
// ever takes, so it needs no bitmap of its own.
void KeepPictureInBackground(ReaderState& s) {
  SelectObject(*s.PictureSurface, static_cast<Bitmap*>(nullptr));
  s.PictureBitmap.reset();
  s.PictureInBackground = true;
}

void LetGoOfCoveringPicture(ReaderState& s) {
  if (s.PictureBitmap && CoversPage(*s.PictureBitmap)) KeepPictureInBackground(s);
}

// So a picture of the page's size is decoded straight into the background half: no
// second page of memory is made, filled and copied. The decoder writes there only
// once the whole file has been read, so a failed load leaves the half as it was.
PixelsFor IntoBackgroundHalf(ReaderState& s) {
  return [&s](int width, int height) {
    if (!s.PageBitmap || width != PAGE_WIDTH || height != PAGE_HEIGHT) {
      return OwnPixels(width, height);
    }
    return Bitmap::Over(s.PageBitmap->row(PAGE_HEIGHT), width, height);
  };
}

bool InBackgroundHalf(const ReaderState& s, const Bitmap& picture) {
  return s.PageBitmap && picture.row(0) == s.PageBitmap->row(PAGE_HEIGHT);
}

// Whether ahead holds the picture of name_sjis, which finds `found` now: the same
// bytes it was read from.
bool HoldsPictureOf(const PictureAhead& ahead, const char* name_sjis,
                    const FileOr<NovelFile>& found) {
  return ahead.picture && ahead.name_sjis == name_sjis && found && SameBytes(*found, ahead.file);
}

// The picture read ahead for this line, when the name finds the same bytes still;
// it is let go either way.
std::unique_ptr<Bitmap> TakePictureAhead(Reader& r, const char* name_sjis) {
  PictureAhead ahead = std::exchange(r.state.NextPicture, {});
  // Another name's picture needs no look up to be let go.
  if (!ahead.picture || ahead.name_sjis != name_sjis) return nullptr;
  if (!HoldsPictureOf(ahead, name_sjis, r.platform.volume->Find(name_sjis))) return nullptr;
  return std::move(ahead.picture);
}

}  // namespace

std::unique_ptr<Bitmap> LoadLinePicture(Reader& r, const char* line) {
  char name_sjis[PICTURE_NAME_SIZE] = {};
  // A line without a name that fits loads nothing, like a missing file.
  if (!QuotedName(line, name_sjis, sizeof name_sjis)) return nullptr;
  return LoadImageA(*r.platform.volume, name_sjis, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
}

bool CoversPage(const Bitmap& picture) {
  return picture.width() >= PAGE_WIDTH && picture.height() >= PAGE_HEIGHT;
}

void ShowPicture(ReaderState& s, std::unique_ptr<Bitmap> picture) {
  if (!s.PictureSurface || !s.PageSurface) return;
  if (picture) ReplacePicture(s, std::move(picture));
  // Made after a failed load too: the previous picture covers the text again.
  if (s.PictureInBackground) {
    BitBlt(*s.PageSurface, 0, 0, PAGE_WIDTH, PAGE_HEIGHT, *s.PageSurface, 0, PAGE_HEIGHT, SRCCOPY);
    return;
  }
  BitBlt(*s.PageSurface, 0, 0, PAGE_WIDTH, PAGE_HEIGHT, *s.PictureSurface, 0, 0, SRCCOPY);
  BitBlt(*s.PageSurface, 0, PAGE_HEIGHT, PAGE_WIDTH, PAGE_HEIGHT, *s.PictureSurface, 0, 0, SRCCOPY);
  LetGoOfCoveringPicture(s);
}

void ReadPictureAhead(Reader& r, const char* name_sjis) {
  PictureAhead& ahead = r.state.NextPicture;
  const FileOr<NovelFile> file = r.platform.volume->Find(name_sjis);
  if (HoldsPictureOf(ahead, name_sjis, file)) return;
  ahead = {};
  // A file changed within the last second could change again unseen.
  if (!file || !SettledChange(file->version.changed_ns, NowNanoseconds()) ||
      !r.platform.volume->OpensAtOnce(*file)) {
    return;
  }
  ErrorOr<Bitmap, std::string> picture = LoadPicture(*r.platform.volume, *file);
  if (!picture) return;
  ahead = {name_sjis, *file, std::make_unique<Bitmap>(std::move(*picture))};
}

void TakeBackPicture(ReaderState& s) {
  if (!s.PictureInBackground || !s.PictureSurface || !s.PageSurface) return;
  auto picture = std::make_unique<Bitmap>(PAGE_WIDTH, PAGE_HEIGHT);
  SelectObject(*s.PictureSurface, picture.get());
  BitBlt(*s.PictureSurface, 0, 0, PAGE_WIDTH, PAGE_HEIGHT, *s.PageSurface, 0, PAGE_HEIGHT, SRCCOPY);
  s.PictureBitmap = std::move(picture);
  s.PictureInBackground = false;
}

void CmdPicture(Reader& r) {
  ReaderState& s = r.state;
  if (!s.PictureSurface || !s.PageSurface) return;
  char name_sjis[PICTURE_NAME_SIZE] = {};
  // A line without a whole name loads nothing; it was told of when its script was read.
  if (!QuotedName(s.ScriptLines[s.CurrentLine], name_sjis, sizeof name_sjis)) {
    return ShowPicture(s, nullptr);
  }
  if (std::unique_ptr<Bitmap> ahead = TakePictureAhead(r, name_sjis)) {
    return ShowPicture(s, std::move(ahead));
  }
  ErrorOr<Bitmap, std::string> picture =
      LoadPicture(*r.platform.volume, name_sjis, IntoBackgroundHalf(s));
  if (!picture) {
    WarnAtCurrentLine(r, NamedFileMessage(NamedFile::Picture, r.platform.shift_jis, name_sjis,
                                          picture.error()));
    return ShowPicture(s, nullptr);
  }
  if (InBackgroundHalf(s, *picture)) {
    KeepPictureInBackground(s);
    return ShowPicture(s, nullptr);
  }
  ShowPicture(s, std::make_unique<Bitmap>(std::move(*picture)));
}
