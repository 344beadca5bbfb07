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

  // Puts count pixels from the write position on, alternately even and odd; of
  // them, only those inside the block and the visible crop are kept.
  void Put(std::int64_t count, std::uint8_t even, std::uint8_t odd) {
    const std::int64_t start = row_ * pitch_ + column_;
    column_ += count;
    const std::int64_t end = std::min({start + count, visible_end_, end_});
    for (std::int64_t at = std::max<std::int64_t>(start, 0); at < end;) {
      const std::int64_t row = at / pitch_;
      const std::int64_t shown_end = std::min(end, row * pitch_ + width_);
      // Index i of the block is pixel (i - row * pitch_) of the crop's row.
      const auto crop_index = [&](std::int64_t i) {
        return static_cast<std::size_t>(row * width_ + i - row * pitch_);
      };
      if (even == odd && at < shown_end) {
        std::fill(indices_.begin() + static_cast<std::ptrdiff_t>(crop_index(at)),
                  indices_.begin() + static_cast<std::ptrdiff_t>(crop_index(shown_end)), even);
      } else {
        for (std::int64_t i = at; i < shown_end; ++i)
          indices_[crop_index(i)] = (i - start) % 2 == 0 ? even : odd;
      }
      at = (row + 1) * pitch_;
    }
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
  if (eight_bit) return rows.Put(count, value, value);
  rows.Put(count, static_cast<std::uint8_t>(value >> 4), static_cast<std::uint8_t>(value & 0x0F));
}

// Literal indices: bytes (RLE8) or nibbles (RLE4), padded to an even byte count.
bool PutLiterals(DataReader& data, RowBlock& rows, int count, bool eight_bit) {
  const int bytes = eight_bit ? count : (count + 1) / 2;
  std::uint8_t byte = 0;
  for (int i = 0; i < count; ++i) {
    if ((eight_bit || i % 2 == 0) && !data.Next(byte)) return false;
    const auto index =
        static_cast<std::uint8_t>(eight_bit ? byte : (i % 2 == 0 ? byte >> 4 : byte & 0x0F));
    rows.Put(1, index, index);
  }
  return bytes % 2 == 0 || data.Next(byte);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> DecodeRunLengthCrop(ByteSource& file,
                                                             const BmpHeader& header, int width,
                                                             int height) {
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
