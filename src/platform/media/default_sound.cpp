// The default chime: two soft sine partials a fifth apart, a short rise and an
// exponential fall, so that it neither clicks nor startles.
#include "platform/media/default_sound.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double LOW_HZ = 1318.5;   // E6
constexpr double HIGH_HZ = 1975.5;  // B6
constexpr double PEAK = 0.18;       // of full scale: soft beside music
constexpr double RISE_S = 0.004;
constexpr double DECAY_S = 0.035;

double ChimeAt(double t_s) {
  const double envelope = std::min(1.0, t_s / RISE_S) * std::exp(-t_s / DECAY_S);
  const double tone = 0.65 * std::sin(2 * std::numbers::pi * LOW_HZ * t_s) +
                      0.35 * std::sin(2 * std::numbers::pi * HIGH_HZ * t_s);
  return PEAK * envelope * tone;
}

}  // namespace

std::vector<std::int16_t> MakeDefaultSound(int rate_hz, int channel_count) {
  if (rate_hz <= 0 || channel_count <= 0) return {};
  const auto frames = static_cast<std::size_t>(rate_hz) * DEFAULT_SOUND_MS / 1000;
  std::vector<std::int16_t> samples(frames * static_cast<std::size_t>(channel_count));
  for (std::size_t frame = 0; frame < frames; ++frame) {
    const double value = ChimeAt(static_cast<double>(frame) / rate_hz);
    const auto sample = static_cast<std::int16_t>(std::lround(value * 32767.0));
    std::fill_n(samples.begin() + static_cast<std::ptrdiff_t>(frame * channel_count), channel_count,
                sample);
  }
  return samples;
}
