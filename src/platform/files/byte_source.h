// Bytes read by position, from a file or from memory, so that a decoder can take
// only the parts of a file that it needs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <utility>

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t size() const = 0;
  // Copies the bytes from offset on into out; the count copied, short only at the
  // end of the bytes or after a read error.
  virtual std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) = 0;

  // True when all of out could be filled.
  bool ReadExactly(std::uint64_t offset, std::span<std::uint8_t> out) {
    return ReadAt(offset, out) == out.size();
  }
};

// Bytes already in memory, kept by their owner.
class SpanSource final : public ByteSource {
 public:
  explicit SpanSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::uint64_t size() const override { return bytes_.size(); }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    if (offset >= bytes_.size() || out.empty()) return 0;
    const std::size_t count =
        std::min<std::uint64_t>(out.size(), bytes_.size() - static_cast<std::size_t>(offset));
    std::memcpy(out.data(), bytes_.data() + offset, count);
    return count;
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

// Bytes in memory that the source keeps itself.
class OwnedBytes final : public ByteSource {
 public:
  explicit OwnedBytes(std::string bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t size() const override { return bytes_.size(); }
  std::size_t ReadAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
    return SpanSource({reinterpret_cast<const std::uint8_t*>(bytes_.data()), bytes_.size()})
        .ReadAt(offset, out);
  }

 private:
  std::string bytes_;
};
