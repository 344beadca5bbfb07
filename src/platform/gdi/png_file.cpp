// PNG files through libpng.
#include "platform/gdi/png_file.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

using File = std::unique_ptr<std::FILE, FileCloser>;

// A failed write of libpng's leaves the stream's errno; one without it is the library's.
SystemError WriteFailure() { return {"write", errno != 0 ? errno : EIO}; }

ErrorOr<void, SystemError> WritePngTo(const Bitmap& bitmap, const File& file) {
  errno = 0;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return SystemError{"png_create_write_struct", ENOMEM};
  png_infop info = png_create_info_struct(png);
  std::vector<png_byte> row(static_cast<std::size_t>(bitmap.width()) * 3);
  // libpng reports errors by longjmp; nothing with a destructor is created below.
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return WriteFailure();
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.width()),
               static_cast<png_uint_32>(bitmap.height()), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < bitmap.height(); ++y) {
    const std::uint32_t* pixels = bitmap.row(y);
    for (int x = 0; x < bitmap.width(); ++x) {
      row[3 * x] = static_cast<png_byte>(pixels[x] >> 16);
      row[3 * x + 1] = static_cast<png_byte>(pixels[x] >> 8);
      row[3 * x + 2] = static_cast<png_byte>(pixels[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  if (std::fflush(file.get()) != 0) return WriteFailure();
  return {};
}

}  // namespace

bool WritePng(const Bitmap& bitmap, const std::string& host_path) {
  const File file(std::fopen(host_path.c_str(), "wb"));
  return file && WritePngTo(bitmap, file).has_value();
}

ErrorOr<std::string, SystemError> WriteNewPng(const Bitmap& bitmap, const std::string& folder,
                                              const std::string& stem) {
  for (int number = 1; number <= NEW_PNG_NAME_TRIES; ++number) {
    const std::string path =
        folder + "/" + stem + (number > 1 ? "-" + std::to_string(number) : "") + ".png";
    // "x": created here, or not at all.
    File file(std::fopen(path.c_str(), "wbx"));
    if (!file && errno == EEXIST) continue;
    if (!file) return SystemError::FromErrno("open");
    ErrorOr<void, SystemError> written = WritePngTo(bitmap, file);
    if (written) return path;
    std::remove(path.c_str());
    return written.release_error();
  }
  return SystemError{"open", EEXIST};
}
