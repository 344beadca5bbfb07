// Checking RIFF/WAVE files: the chunks are walked by the file's real size (the
// RIFF size of real files is often wrong), the format is checked field by field,
// and a plain header is made from what was checked.
#include "platform/media/wave_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "platform/byte_order.h"
#include "platform/files/read_limits.h"

namespace {

constexpr std::uint16_t WAVE_PCM = 0x0001;
constexpr std::uint16_t WAVE_MS_ADPCM = 0x0002;
constexpr std::uint16_t WAVE_IMA_ADPCM = 0x0011;
constexpr std::uint16_t WAVE_EXTENSIBLE = 0xFFFE;

constexpr std::uint32_t MIN_RATE_HZ = 1000;
constexpr std::uint32_t MAX_RATE_HZ = 384000;
constexpr std::uint16_t MAX_CHANNELS = 8;
constexpr std::uint16_t MAX_ADPCM_CHANNELS = 2;
constexpr std::uint32_t MAX_FORMAT_BYTES = 4096;
constexpr int MAX_CHUNKS = 1024;
constexpr std::size_t BASE_FORMAT_BYTES = 16;
constexpr std::size_t EXTENSIBLE_FORMAT_BYTES = 40;

// The 14 bytes that follow the format tag in the subformat of an extensible header.
constexpr std::array<std::uint8_t, 14> SUBFORMAT_SUFFIX = {
    0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};
// The seven coefficient pairs that every MS ADPCM file begins its table with.
constexpr std::array<std::int16_t, 14> MS_ADPCM_PRESETS = {256, 0,   512, -256, 0,    0,   192,
                                                           64,  240, 0,   460,  -208, 392, -232};
constexpr std::size_t MS_ADPCM_MAX_COEFFICIENTS = 256;

void PutId(std::vector<std::uint8_t>& out, std::string_view id) {
  out.insert(out.end(), id.begin(), id.end());
}
bool IsId(const std::uint8_t* at, std::string_view id) {
  return std::memcmp(at, id.data(), 4) == 0;
}

// The format as the samples are decoded: a frame or block, and the frames in one.
struct Format {
  std::uint16_t tag = 0;
  std::uint16_t channels = 0;
  std::uint32_t rate_hz = 0;
  std::uint16_t bits = 0;
  std::uint16_t block_bytes = 0;  // a frame of PCM, a block of ADPCM
  std::uint32_t frames_per_block = 1;
  std::vector<std::uint8_t> ms_adpcm_coefficients;  // the count and the pairs
};

bool PcmFormat(Format& f) {
  if (f.bits != 8 && f.bits != 16 && f.bits != 24 && f.bits != 32) return false;
  f.block_bytes = static_cast<std::uint16_t>(f.channels * (f.bits / 8));
  return true;
}

bool MsAdpcmFormat(Format& f, const std::vector<std::uint8_t>& chunk, std::uint16_t align) {
  const std::uint32_t header_bytes = 7u * f.channels;
  if (f.bits != 4 || f.channels > MAX_ADPCM_CHANNELS || align < header_bytes || chunk.size() < 22) {
    return false;
  }
  const std::size_t count = ReadLe16(&chunk[20]);
  if (count < 7 || count > MS_ADPCM_MAX_COEFFICIENTS || chunk.size() < 22 + 4 * count) return false;
  for (std::size_t i = 0; i < MS_ADPCM_PRESETS.size(); ++i) {
    if (static_cast<std::int16_t>(ReadLe16(&chunk[22 + 2 * i])) != MS_ADPCM_PRESETS[i]) return false;
  }
  f.block_bytes = align;
  f.frames_per_block = (align - header_bytes) * 8 / (4u * f.channels) + 2;
  f.ms_adpcm_coefficients.assign(chunk.begin() + 20,
                                 chunk.begin() + 22 + 4 * static_cast<long>(count));
  return true;
}

bool ImaAdpcmFormat(Format& f, std::uint16_t align) {
  const std::uint32_t header_bytes = 4u * f.channels;
  if (f.bits != 4 || f.channels > MAX_ADPCM_CHANNELS || align < header_bytes ||
      (align - header_bytes) % (4u * f.channels) != 0) {
    return false;
  }
  f.block_bytes = align;
  f.frames_per_block = (align - header_bytes) * 8 / (4u * f.channels) + 1;
  return true;
}

// The real format tag of an extensible header, or 0 when its subformat is unknown.
std::uint16_t ExtensibleTag(const std::vector<std::uint8_t>& chunk) {
  if (chunk.size() < EXTENSIBLE_FORMAT_BYTES || ReadLe16(&chunk[16]) < 22) return 0;
  if (!std::equal(SUBFORMAT_SUFFIX.begin(), SUBFORMAT_SUFFIX.end(), chunk.begin() + 26)) return 0;
  return ReadLe16(&chunk[24]);
}

std::optional<Format> CheckFormat(const std::vector<std::uint8_t>& chunk, WaveUse use) {
  if (chunk.size() < BASE_FORMAT_BYTES) return std::nullopt;
  Format f;
  f.tag = ReadLe16(&chunk[0]);
  const bool extensible = f.tag == WAVE_EXTENSIBLE;
  if (extensible) f.tag = ExtensibleTag(chunk);
  f.channels = ReadLe16(&chunk[2]);
  f.rate_hz = ReadLe32(&chunk[4]);
  const std::uint16_t align = ReadLe16(&chunk[12]);
  f.bits = ReadLe16(&chunk[14]);
  if (f.channels < 1 || f.channels > MAX_CHANNELS || f.rate_hz < MIN_RATE_HZ ||
      f.rate_hz > MAX_RATE_HZ) {
    return std::nullopt;
  }
  bool usable = false;
  if (f.tag == WAVE_PCM) {
    usable = PcmFormat(f);
  } else if (use == WaveUse::Sound && !extensible && f.tag == WAVE_MS_ADPCM) {
    usable = MsAdpcmFormat(f, chunk, align);
  } else if (use == WaveUse::Sound && !extensible && f.tag == WAVE_IMA_ADPCM) {
    usable = ImaAdpcmFormat(f, align);
  }
  if (!usable) return std::nullopt;
  return f;
}

std::vector<std::uint8_t> FormatChunk(const Format& f) {
  std::vector<std::uint8_t> out;
  AppendLe16(out, f.tag);
  AppendLe16(out, f.channels);
  AppendLe32(out, f.rate_hz);
  AppendLe32(out,
        static_cast<std::uint32_t>(std::uint64_t{f.rate_hz} * f.block_bytes / f.frames_per_block));
  AppendLe16(out, f.block_bytes);
  AppendLe16(out, f.bits);
  if (f.tag == WAVE_MS_ADPCM) {
    AppendLe16(out, static_cast<std::uint32_t>(2 + f.ms_adpcm_coefficients.size()));
    AppendLe16(out, f.frames_per_block);
    out.insert(out.end(), f.ms_adpcm_coefficients.begin(), f.ms_adpcm_coefficients.end());
  } else if (f.tag == WAVE_IMA_ADPCM) {
    AppendLe16(out, 2);
    AppendLe16(out, f.frames_per_block);
  }
  return out;
}

// Whole frames or blocks of the samples present; a sound's within its caps.
std::uint32_t UsableDataBytes(const Format& f, std::uint64_t present, WaveUse use) {
  std::uint64_t blocks = present / f.block_bytes;
  if (use == WaveUse::Sound) {
    const std::uint64_t frames = std::uint64_t{f.rate_hz} * SOUND_MAX_SECONDS;
    blocks = std::min({blocks, (frames + f.frames_per_block - 1) / f.frames_per_block,
                       std::uint64_t{SOUND_MAX_BYTES} / f.block_bytes});
  }
  // The RIFF header counts in 32 bits.
  blocks = std::min<std::uint64_t>(blocks, (UINT32_MAX - 1024) / f.block_bytes);
  return static_cast<std::uint32_t>(blocks * f.block_bytes);
}

struct Chunks {
  std::optional<std::vector<std::uint8_t>> format;
  std::uint64_t data_offset = 0;
  std::optional<std::uint64_t> data_bytes;  // within the file
};

// Walks the chunks by the file's size, each padded to an even length, until both
// the format and the samples are found.
Chunks FindChunks(ByteSource& file) {
  Chunks found;
  std::uint64_t offset = 12;
  for (int count = 0; count < MAX_CHUNKS && offset + 8 <= file.size(); ++count) {
    std::array<std::uint8_t, 8> header;
    if (!file.ReadExactly(offset, header)) break;
    const std::uint64_t body = offset + 8;
    const std::uint32_t size = ReadLe32(&header[4]);
    if (IsId(header.data(), "fmt ") && !found.format && size <= MAX_FORMAT_BYTES &&
        body + size <= file.size()) {
      std::vector<std::uint8_t> chunk(size);
      if (file.ReadExactly(body, chunk)) found.format = std::move(chunk);
    } else if (IsId(header.data(), "data") && !found.data_bytes) {
      found.data_offset = body;
      found.data_bytes = std::min<std::uint64_t>(size, file.size() - body);
    }
    if (found.format && found.data_bytes) break;
    offset = body + size + (size & 1);
  }
  return found;
}

}  // namespace

std::optional<WaveLayout> ReadWaveLayout(ByteSource& file, WaveUse use) {
  std::array<std::uint8_t, 12> riff;
  if (!file.ReadExactly(0, riff) || !IsId(&riff[0], "RIFF") || !IsId(&riff[8], "WAVE")) {
    return std::nullopt;
  }
  const Chunks chunks = FindChunks(file);
  if (!chunks.format || !chunks.data_bytes) return std::nullopt;
  const std::optional<Format> format = CheckFormat(*chunks.format, use);
  if (!format) return std::nullopt;
  WaveLayout layout;
  layout.data_offset = chunks.data_offset;
  layout.data_bytes = UsableDataBytes(*format, *chunks.data_bytes, use);
  const std::vector<std::uint8_t> format_chunk = FormatChunk(*format);
  std::vector<std::uint8_t>& h = layout.header;
  PutId(h, "RIFF");
  AppendLe32(h, static_cast<std::uint32_t>(4 + 8 + format_chunk.size() + 8 + layout.data_bytes));
  PutId(h, "WAVE");
  PutId(h, "fmt ");
  AppendLe32(h, static_cast<std::uint32_t>(format_chunk.size()));
  h.insert(h.end(), format_chunk.begin(), format_chunk.end());
  PutId(h, "data");
  AppendLe32(h, layout.data_bytes);
  return layout;
}

std::optional<std::vector<std::uint8_t>> ReadCheckedSound(ByteSource& file) {
  std::optional<WaveLayout> layout = ReadWaveLayout(file, WaveUse::Sound);
  if (!layout) return std::nullopt;
  std::vector<std::uint8_t> bytes = std::move(layout->header);
  const std::size_t header_bytes = bytes.size();
  bytes.resize(header_bytes + layout->data_bytes);
  if (!file.ReadExactly(layout->data_offset, std::span(bytes).subspan(header_bytes))) {
    return std::nullopt;
  }
  return bytes;
}
