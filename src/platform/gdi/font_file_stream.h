// A font file that FreeType reads through the reader's own descriptor, a block at a
// time, in place of its mapping of the whole file. A Japanese face is megabytes of
// outlines of which a page shows a few dozen; mapped, each outline read brings its
// neighbours' pages into the reader's memory too.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/files/regular_file.h"

class FontFileStream {
 public:
  // Nothing when the path is no regular file of a font's size: a FIFO would keep
  // FreeType waiting for ever, a device would be read without end.
  static std::unique_ptr<FontFileStream> Open(const std::string& path);
  FontFileStream(const FontFileStream&) = delete;
  FontFileStream& operator=(const FontFileStream&) = delete;

  // For FT_Open_Face; the stream must outlive the face opened on it.
  FT_Open_Args OpenArgs();

 private:
  static constexpr std::size_t BLOCK_BYTES = 4096;
  static constexpr std::size_t BLOCKS = 16;
  static constexpr std::uint64_t NO_BLOCK = ~std::uint64_t{0};
  struct Block {
    std::uint64_t number = NO_BLOCK;
    std::size_t length = 0;
    std::array<unsigned char, BLOCK_BYTES> bytes;
  };

  explicit FontFileStream(RegularFile file);
  static unsigned long Read(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                            unsigned long count);
  unsigned long Read(std::uint64_t offset, unsigned char* buffer, std::size_t count);
  const Block& BlockAt(std::uint64_t number);

  RegularFile file_;
  FT_StreamRec stream_{};
  // The blocks read last, each in the slot of its number: the metrics and the glyph
  // FreeType reads for one character lie a few bytes apart.
  std::array<Block, BLOCKS> blocks_;
};
