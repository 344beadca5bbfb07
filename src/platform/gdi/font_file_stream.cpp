// Reads of the font file for FreeType. Small reads (a glyph's outline, its metrics)
// go through a few cached blocks; a table read whole at the face's opening (the
// character map, the glyph locations) goes straight into FreeType's buffer.
#include "platform/gdi/font_file_stream.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "platform/files/read_limits.h"

std::unique_ptr<FontFileStream> FontFileStream::Open(const std::string& path) {
  FileOr<RegularFile> file = RegularFile::Open(path);
  if (!file || file->size() > FONT_FILE_MAX_BYTES) return nullptr;
  return std::unique_ptr<FontFileStream>(new FontFileStream(std::move(*file)));
}

FontFileStream::FontFileStream(RegularFile file) : file_(std::move(file)) {
  stream_.size = static_cast<unsigned long>(file_.size());
  stream_.descriptor.pointer = this;
  stream_.read = &FontFileStream::Read;
}

FT_Open_Args FontFileStream::OpenArgs() {
  FT_Open_Args args{};
  args.flags = FT_OPEN_STREAM;
  args.stream = &stream_;
  return args;
}

unsigned long FontFileStream::Read(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                                   unsigned long count) {
  auto* self = static_cast<FontFileStream*>(stream->descriptor.pointer);
  // A read of nothing is a seek, answered 0 when it lands inside the file.
  if (count == 0) return offset <= self->file_.size() ? 0 : 1;
  return self->Read(offset, buffer, count);
}

unsigned long FontFileStream::Read(std::uint64_t offset, unsigned char* buffer, std::size_t count) {
  if (count > BLOCK_BYTES) return file_.ReadAt(offset, std::span(buffer, count));
  std::size_t done = 0;
  while (done < count) {
    const std::uint64_t at = offset + done;
    const Block& block = BlockAt(at / BLOCK_BYTES);
    const std::size_t inside = static_cast<std::size_t>(at % BLOCK_BYTES);
    if (inside >= block.length) break;  // the file's end
    const std::size_t taken = std::min(count - done, block.length - inside);
    std::memcpy(buffer + done, block.bytes.data() + inside, taken);
    done += taken;
  }
  return done;
}

const FontFileStream::Block& FontFileStream::BlockAt(std::uint64_t number) {
  Block& block = blocks_[number % BLOCKS];
  if (block.number != number) {
    block.number = number;
    block.length = file_.ReadAt(number * BLOCK_BYTES, block.bytes);
  }
  return block;
}
