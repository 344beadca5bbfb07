// Picture files: Windows bitmaps of every kind that Windows itself loads, read
// into the page's pixel format (0x00RRGGBB, opaque).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "platform/error_or.h"
#include "platform/files/byte_source.h"
#include "platform/files/novel_file.h"
#include "platform/files/read_limits.h"
#include "platform/gdi/bitmap.h"
#include "platform/win32_types.h"

class Volume;

// Where a picture of width x height pixels is decoded: by default a bitmap of its
// own. Nothing is written there before the file has been read to its last needed
// byte, so a file cut short leaves the pixels as they were.
using PixelsFor = std::function<Bitmap(int width, int height)>;
Bitmap OwnPixels(int width, int height);

// The picture of a bitmap file's bytes, or nothing when they are not one that the
// reader shows. Only the top-left 640 x 480 pixels that a page can show are
// decoded: a larger picture comes out cut to them.
std::optional<Bitmap> DecodeBitmapFile(std::span<const std::uint8_t> file);
// The same for a file read by position: only the part that a page shows is read.
std::optional<Bitmap> DecodeBitmapFile(ByteSource& file, const PixelsFor& pixels_for = OwnPixels);
// The picture of the bitmap file at a host path, or nothing.
std::optional<Bitmap> LoadBitmapFile(const std::string& host_path);

// The picture of a file of the novel, or why there is none in the words of the
// reader's warnings ("is not a Windows bitmap").
ErrorOr<Bitmap, std::string> LoadPicture(Volume& volume, const char* name_sjis,
                                         const PixelsFor& pixels_for = OwnPixels);
// The same for a file that a name has found already.
ErrorOr<Bitmap, std::string> LoadPicture(Volume& volume, const NovelFile& file,
                                         const PixelsFor& pixels_for = OwnPixels);

// As Win32's call with type IMAGE_BITMAP, the file's own size (width and height 0)
// and LR_LOADFROMFILE, cut to the visible part: name_sjis is relative to the novel's
// directory. Null when the file is missing or not a bitmap, or for any other type,
// size or flags.
std::unique_ptr<Bitmap> LoadImageA(Volume& volume, const char* name_sjis, UINT type, int width,
                                   int height, UINT flags);
