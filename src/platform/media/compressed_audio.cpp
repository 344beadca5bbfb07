// Header checks of Ogg Vorbis, FLAC and MP3 files, from their format definitions.
#include "platform/media/compressed_audio.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/byte_order.h"

namespace {

constexpr std::uint32_t MAX_CHANNELS = 8;
constexpr std::uint32_t MAX_RATE_HZ = 655350;  // the most a FLAC header can state

// Ogg: a first page that begins the stream, with its first packet whole in it.
constexpr std::size_t OGG_PAGE_HEADER = 27;
constexpr std::uint8_t OGG_BEGINS_STREAM = 0x02;
constexpr std::size_t VORBIS_ID_BYTES = 30;
constexpr unsigned VORBIS_MIN_BLOCK_EXPONENT = 6;
constexpr unsigned VORBIS_MAX_BLOCK_EXPONENT = 13;

bool IsVorbisIdentification(const std::uint8_t* p) {
  if (p[0] != 1 || std::memcmp(p + 1, "vorbis", 6) != 0 || ReadLe32(p + 7) != 0) return false;
  const std::uint32_t channels = p[11];
  const std::uint32_t rate_hz = ReadLe32(p + 12);
  const unsigned small = p[28] & 0x0F, large = p[28] >> 4;
  return channels >= 1 && channels <= MAX_CHANNELS && rate_hz >= 1 && rate_hz <= MAX_RATE_HZ &&
         small >= VORBIS_MIN_BLOCK_EXPONENT && large <= VORBIS_MAX_BLOCK_EXPONENT &&
         small <= large && (p[29] & 1) == 1;
}

// FLAC: STREAMINFO is 34 bytes and comes first.
constexpr std::uint32_t FLAC_STREAMINFO_BYTES = 34;
constexpr std::uint32_t FLAC_MIN_BLOCK = 16;

// MPEG audio: the ID3v2 tag before the first frame, and the frame header.
constexpr std::size_t ID3_HEADER = 10;
constexpr std::uint8_t ID3_FOOTER_FLAG = 0x10;

std::optional<std::uint64_t> Id3TagBytes(ByteSource& file) {
  std::array<std::uint8_t, ID3_HEADER> tag;
  if (!file.ReadExactly(0, tag)) return std::nullopt;
  if (std::memcmp(tag.data(), "ID3", 3) != 0) return 0;
  if (tag[3] < 2 || tag[3] > 4 || tag[4] == 0xFF) return std::nullopt;
  std::uint64_t size = 0;
  for (int i = 6; i < 10; ++i) {
    if (tag[i] & 0x80) return std::nullopt;  // a size is stored 7 bits a byte
    size = size << 7 | tag[i];
  }
  return ID3_HEADER + size + ((tag[5] & ID3_FOOTER_FLAG) ? ID3_HEADER : 0);
}

// Kilobits per second by version (MPEG-1, MPEG-2/2.5), layer (I, II, III) and index.
constexpr std::uint16_t BITRATES_KBPS[2][3][16] = {
    {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0}},
    {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}}};
constexpr std::uint32_t MPEG1_RATES_HZ[3] = {44100, 48000, 32000};

// The length of the frame whose header is at p, or 0 when it is no valid header.
std::uint32_t MpegFrameBytes(const std::uint8_t* p) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return 0;
  const unsigned version = (p[1] >> 3) & 3;  // 0: 2.5, 2: 2, 3: 1
  const unsigned layer = (p[1] >> 1) & 3;    // 1: III, 2: II, 3: I
  const unsigned bitrate_index = p[2] >> 4, rate_index = (p[2] >> 2) & 3;
  if (version == 1 || layer == 0 || bitrate_index == 0 || bitrate_index == 15 || rate_index == 3) {
    return 0;
  }
  const bool mpeg1 = version == 3;
  const std::uint32_t rate_hz = MPEG1_RATES_HZ[rate_index] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  const std::uint32_t bits_per_second =
      BITRATES_KBPS[mpeg1 ? 0 : 1][3 - layer][bitrate_index] * 1000u;
  const std::uint32_t padding = (p[2] >> 1) & 1;
  if (layer == 3) return (12 * bits_per_second / rate_hz + padding) * 4;
  const std::uint32_t per_frame = (layer == 1 && !mpeg1) ? 72 : 144;
  return per_frame * bits_per_second / rate_hz + padding;
}

}  // namespace

std::optional<std::uint64_t> CheckedOggVorbis(ByteSource& file) {
  std::array<std::uint8_t, OGG_PAGE_HEADER + 255> page;
  const std::size_t count = file.ReadAt(0, page);
  if (count < OGG_PAGE_HEADER || std::memcmp(page.data(), "OggS", 4) != 0 || page[4] != 0 ||
      (page[5] & OGG_BEGINS_STREAM) == 0) {
    return std::nullopt;
  }
  const std::size_t segments = page[26];
  if (segments == 0 || count < OGG_PAGE_HEADER + segments) return std::nullopt;
  // The identification packet is one segment of exactly its size.
  if (page[OGG_PAGE_HEADER] != VORBIS_ID_BYTES) return std::nullopt;
  std::array<std::uint8_t, VORBIS_ID_BYTES> packet;
  if (!file.ReadExactly(OGG_PAGE_HEADER + segments, packet) ||
      !IsVorbisIdentification(packet.data())) {
    return std::nullopt;
  }
  return 0;
}

std::optional<std::uint64_t> CheckedFlac(ByteSource& file) {
  std::array<std::uint8_t, 8 + FLAC_STREAMINFO_BYTES> head;
  if (!file.ReadExactly(0, head) || std::memcmp(head.data(), "fLaC", 4) != 0) return std::nullopt;
  const std::uint8_t* info = head.data() + 8;
  if ((head[4] & 0x7F) != 0 || ReadBe24(&head[5]) != FLAC_STREAMINFO_BYTES) return std::nullopt;
  const std::uint32_t min_block = ReadBe16(info), max_block = ReadBe16(info + 2);
  const std::uint32_t rate_hz = ReadBe24(info + 10) >> 4;
  const std::uint32_t channels = ((info[12] >> 1) & 7) + 1;
  const std::uint32_t bits = (((info[12] & 1) << 4) | (info[13] >> 4)) + 1;
  if (min_block < FLAC_MIN_BLOCK || max_block < min_block || rate_hz < 1 ||
      rate_hz > MAX_RATE_HZ || channels > MAX_CHANNELS || bits < 4) {
    return std::nullopt;
  }
  return 0;
}

std::optional<std::uint64_t> CheckedMp3(ByteSource& file) {
  const std::optional<std::uint64_t> start = Id3TagBytes(file);
  if (!start) return std::nullopt;
  std::array<std::uint8_t, 4> header;
  if (!file.ReadExactly(*start, header)) return std::nullopt;
  const std::uint32_t first = MpegFrameBytes(header.data());
  if (first == 0) return std::nullopt;
  // A second frame right behind the first tells a stream from four bytes that look like one.
  std::array<std::uint8_t, 4> next;
  if (!file.ReadExactly(*start + first, next) || MpegFrameBytes(next.data()) == 0) {
    return std::nullopt;
  }
  return start;
}
