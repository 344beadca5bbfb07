// The sound that plays when a WAV name cannot be played, as the old platform did
// without SND_NODEFAULT: a short, soft chime made in code, so no file is needed.
#pragma once

#include <cstdint>
#include <vector>

constexpr int DEFAULT_SOUND_MS = 150;

// Interleaved signed 16-bit samples of the chime at rate_hz with channel_count channels.
std::vector<std::int16_t> MakeDefaultSound(int rate_hz, int channel_count);
