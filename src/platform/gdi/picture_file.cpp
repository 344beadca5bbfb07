// Picture files: the header is checked here; direct-colour pictures are read by our
// own code, and every other kind is cut to its visible crop for SDL's own BMP
// decoder; the result is always opaque.
#include "platform/gdi/picture_file.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/files/regular_file.h"
#include "platform/files/volume.h"
#include "platform/gdi/bmp_crop.h"
#include "platform/gdi/bmp_direct_colour.h"
#include "platform/gdi/bmp_header.h"
#include "platform/translation.h"

namespace {

struct RwCloser {
  void operator()(SDL_RWops* rw) const { SDL_RWclose(rw); }
};
struct SurfaceFreer {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFreer>;

constexpr std::uint32_t OPAQUE_RGB = 0x00FFFFFF;

// The library's picture copied straight into our pixels; the fourth byte, which
// the library may take for alpha, is dropped: a picture of the page is opaque.
std::optional<Bitmap> FromSurface(SDL_Surface& decoded, const BmpHeader& header,
                                  const PixelsFor& pixels_for) {
  if (decoded.w != header.width || decoded.h != header.height) return std::nullopt;
  Bitmap picture = pixels_for(header.width, header.height);
  const SurfacePtr target(SDL_CreateRGBSurfaceWithFormatFrom(
      picture.row(0), header.width, header.height, 32,
      header.width * static_cast<int>(sizeof(std::uint32_t)), SDL_PIXELFORMAT_ARGB8888));
  if (!target || SDL_SetSurfaceBlendMode(&decoded, SDL_BLENDMODE_NONE) != 0 ||
      SDL_BlitSurface(&decoded, nullptr, target.get(), nullptr) != 0) {
    return std::nullopt;
  }
  for (int y = 0; y < header.height; ++y) {
    std::uint32_t* row = picture.row(y);
    for (int x = 0; x < header.width; ++x) row[x] &= OPAQUE_RGB;
  }
  return picture;
}

// The file's bytes are let go once decoded, before the picture's own pixels are made:
// a page's picture never holds three copies at once.
std::optional<Bitmap> DecodeWithLibrary(std::vector<std::uint8_t> file, const BmpHeader& header,
                                        const PixelsFor& pixels_for) {
  std::unique_ptr<SDL_RWops, RwCloser> rw(
      SDL_RWFromConstMem(file.data(), static_cast<int>(file.size())));
  if (!rw) return std::nullopt;
  // SDL2_image hands every "BM" file to this same decoder of SDL's own; calling it
  // directly keeps the image library's other formats out of the process.
  const SurfacePtr decoded(SDL_LoadBMP_RW(rw.get(), 0));
  rw.reset();
  std::vector<std::uint8_t>().swap(file);
  if (!decoded) return std::nullopt;
  return FromSurface(*decoded, header, pixels_for);
}

std::string PictureFileError(const FileError& error) {
  if (error.problem == FileProblem::TooLarge) return _("is too large to be a picture");
  return DescribeFileError(error);
}

}  // namespace

Bitmap OwnPixels(int width, int height) { return Bitmap(width, height); }

// The cropped file is small: at most the visible pixels and the headers.
std::optional<Bitmap> DecodeBitmapFile(ByteSource& file, const PixelsFor& pixels_for) {
  if (file.size() > PICTURE_FILE_MAX_BYTES) return std::nullopt;
  std::uint8_t head[BMP_HEADERS_MAX_BYTES] = {};
  const std::span<std::uint8_t> read(head, std::min<std::uint64_t>(file.size(), sizeof head));
  if (!file.ReadExactly(0, read)) return std::nullopt;
  if (const std::optional<BmpHeader> header = ReadBmpHeader(read, file.size());
      header && IsDirectColour(*header)) {
    return ReadDirectColour(file, *header, pixels_for);
  }
  std::optional<std::vector<std::uint8_t>> cropped = CropBitmapFile(file);
  if (!cropped) return std::nullopt;
  const std::optional<BmpHeader> header = ReadBmpHeader(*cropped);
  if (!header || header->HasBitFields()) return std::nullopt;
  return DecodeWithLibrary(std::move(*cropped), *header, pixels_for);
}

std::optional<Bitmap> DecodeBitmapFile(std::span<const std::uint8_t> file) {
  SpanSource source(file);
  return DecodeBitmapFile(source);
}

std::optional<Bitmap> LoadBitmapFile(const std::string& host_path) {
  FileOr<RegularFile> file = RegularFile::Open(host_path);
  if (!file) return std::nullopt;
  return DecodeBitmapFile(*file);
}

ErrorOr<Bitmap, std::string> LoadPicture(Volume& volume, const char* name_sjis,
                                         const PixelsFor& pixels_for) {
  const FileOr<NovelFile> file = volume.Find(name_sjis);
  if (!file) return PictureFileError(file.error());
  return LoadPicture(volume, *file, pixels_for);
}

ErrorOr<Bitmap, std::string> LoadPicture(Volume& volume, const NovelFile& file,
                                         const PixelsFor& pixels_for) {
  if (file.size > PICTURE_FILE_MAX_BYTES) return PictureFileError({FileProblem::TooLarge, {}});
  FileOr<std::unique_ptr<ByteSource>> source = volume.Open(file);
  if (!source) return PictureFileError(source.error());
  std::uint8_t magic[2] = {};
  if (!(*source)->ReadExactly(0, magic) || magic[0] != 'B' || magic[1] != 'M') {
    return std::string(_("is not a Windows bitmap"));
  }
  std::optional<Bitmap> picture = DecodeBitmapFile(**source, pixels_for);
  if (!picture) {
    return std::string(
        _("is damaged, cut short or of a kind the reader does not show: it cannot decode its "
          "pixels"));
  }
  return std::move(*picture);
}

std::unique_ptr<Bitmap> LoadImageA(Volume& volume, const char* name_sjis, UINT type, int width,
                                   int height, UINT flags) {
  if (name_sjis == nullptr || type != IMAGE_BITMAP || width != 0 || height != 0 ||
      (flags & LR_LOADFROMFILE) == 0) {
    return nullptr;
  }
  ErrorOr<Bitmap, std::string> picture = LoadPicture(volume, name_sjis);
  if (!picture) return nullptr;
  return std::make_unique<Bitmap>(std::move(*picture));
}
