// Run-length decoding as the bitmap loader has always done it: the picture is a
// block of rows of the surface's pitch (the width rounded up to four), filled
// from the bottom row up; a run that passes the end of a row goes on into the
// next row of that block, and nothing outside the block is written.
#include "platform/gdi/bmp_rle.h"

#include <algorithm>

namespace {

constexpr std::size_t READ_BLOCK_BYTES = 64 * 1024;

// The file's bytes from the pixels on, read a block at a time.
class DataReader {
 public:
  DataReader(ByteSource& file, std::uint64_t offset) : file_(file), offset_(offset) {}

  bool Next(std::uint8_t& byte) {
    if (at_ == block_.size()) {
      block_.resize(READ_BLOCK_BYTES);
      block_.resize(file_.ReadAt(offset_, block_));
      offset_ += block_.size();
      at_ = 0;
      if (block_.empty()) return false;
    }
    byte = block_[at_++];
    return true;
  }

 private:
  ByteSource& file_;
  std::uint64_t offset_;
  std::vector<std::uint8_t> block_;
  std::size_t at_ = 0;
};

// The write position in the block of rows, and the crop that keeps what is visible.
class RowBlock {
 public:
  RowBlock(const BmpHeader& h, int width, int height)
      : pitch_((std::int64_t{h.width} + 3) & ~std::int64_t{3}),
        end_(pitch_ * h.height),
        row_(h.height - 1),
        width_(width),
        visible_end_(pitch_ * height),
        indices_(static_cast<std::size_t>(width) * height, 0) {}

  void Put(std::uint8_t index) {
    const std::int64_t at = row_ * pitch_ + column_++;
    if (at < 0 || at >= visible_end_ || at >= end_ || at % pitch_ >= width_) return;
    indices_[static_cast<std::size_t>(at / pitch_ * width_ + at % pitch_)] = index;
  }
  // A run of count pixels that cannot reach the visible rows moves on at once.
  bool Skips(std::int64_t count) const {
    const std::int64_t at = row_ * pitch_ + column_;
    return at >= visible_end_ || at + count <= 0;
  }
  void Move(std::int64_t columns, std::int64_t rows_up) {
    column_ += columns;
    row_ -= rows_up;
  }
  void NextRow() {
    column_ = 0;
    row_ -= 1;
  }
  std::vector<std::uint8_t> Take() { return std::move(indices_); }

 private:
  std::int64_t pitch_;
  std::int64_t end_;
  std::int64_t row_;
  std::int64_t column_ = 0;
  std::int64_t width_;
  std::int64_t visible_end_;
  std::vector<std::uint8_t> indices_;
};

// A run of one index (RLE8) or of two alternating indices, high nibble first (RLE4).
void PutRun(RowBlock& rows, int count, std::uint8_t value, bool eight_bit) {
  if (rows.Skips(count)) return rows.Move(count, 0);
  for (int i = 0; i < count; ++i) {
    rows.Put(eight_bit ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F));
  }
}

// Literal indices: bytes (RLE8) or nibbles (RLE4), padded to an even byte count.
bool PutLiterals(DataReader& data, RowBlock& rows, int count, bool eight_bit) {
  const int bytes = eight_bit ? count : (count + 1) / 2;
  std::uint8_t byte = 0;
  for (int i = 0; i < count; ++i) {
    if ((eight_bit || i % 2 == 0) && !data.Next(byte)) return false;
    rows.Put(eight_bit ? byte : (i % 2 == 0 ? byte >> 4 : byte & 0x0F));
  }
  return bytes % 2 == 0 || data.Next(byte);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> DecodeRunLengthCrop(ByteSource& file, const BmpHeader& header,
                                                             int width, int height) {
  const bool eight_bit = header.compression == BMP_RLE8;
  DataReader data(file, header.pixel_offset);
  RowBlock rows(header, width, height);
  for (;;) {
    std::uint8_t count = 0, value = 0;
    if (!data.Next(count) || !data.Next(value)) return std::nullopt;
    if (count != 0) {
      PutRun(rows, count, value, eight_bit);
      continue;
    }
    switch (value) {
      case 0:
        rows.NextRow();
        break;
      case 1:
        return rows.Take();
      case 2: {
        std::uint8_t right = 0, up = 0;
        if (!data.Next(right) || !data.Next(up)) return std::nullopt;
        rows.Move(right, up);
        break;
      }
      default:
        if (!PutLiterals(data, rows, value, eight_bit)) return std::nullopt;
        break;
    }
  }
}
