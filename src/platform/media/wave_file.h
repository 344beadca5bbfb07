// RIFF/WAVE files, checked before any decoder sees them: the format's fields that
// decoders divide by or allocate from must be sane and fit the file, and what is
// handed on is a plain file of our own making, the checked format and the samples.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/files/byte_source.h"

enum class WaveUse {
  Sound,    // a "WAV" line: PCM and the ADPCM kinds that the sound decoder reads
  CdTrack,  // a CD track streamed as music: PCM only
};

// Where a checked file's samples lie and the header that goes before them.
struct WaveLayout {
  std::vector<std::uint8_t> header;  // RIFF, WAVE, the fmt chunk and the data chunk's header
  std::uint64_t data_offset = 0;     // of the samples in the file
  std::uint32_t data_bytes = 0;      // whole frames or blocks, within the file
};

// The layout of a RIFF/WAVE file, or nothing when it is none or is not one that
// use can play. A sound's samples end at the caps of a sound.
std::optional<WaveLayout> ReadWaveLayout(ByteSource& file, WaveUse use);

// A sound's checked file in memory: the header and the samples.
std::optional<std::vector<std::uint8_t>> ReadCheckedSound(ByteSource& file);
