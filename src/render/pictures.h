// Pictures: "BMP" loads a picture as the page and its background.
#pragma once

#include <memory>

#include "platform/gdi/bitmap.h"

struct Reader;
struct ReaderState;

void CmdPicture(Reader& r);
// The picture that a "BMP" line names, or null when it does not load.
std::unique_ptr<Bitmap> LoadLinePicture(Reader& r, const char* line);
// True for a picture that fills the whole page, so that nothing shown before it stays.
bool CoversPage(const Bitmap& picture);
// A "BMP" line's effect with its picture loaded: null keeps the previous picture.
void ShowPicture(ReaderState& s, std::unique_ptr<Bitmap> picture);
// Reads the picture that name_sjis names into s.NextPicture, for the next click's
// "BMP" line to show without a wait; what was held there goes, unless it is that
// picture, unchanged. A file that does not load is not told of: its line will tell.
void ReadPictureAhead(Reader& r, const char* name_sjis);
// Before the background half is drawn over: a picture kept only there gets its own
// bitmap again, for a later failed load to copy.
void TakeBackPicture(ReaderState& s);
