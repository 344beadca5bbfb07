// The default chime: short, soft, fading to silence, the same on every channel.
#include "platform/media/default_sound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

TEST(MediaDefaultSound, ShortSoftAndFading) {
  const std::vector<std::int16_t> samples = MakeDefaultSound(44100, 2);
  ASSERT_EQ(samples.size(), 44100u * DEFAULT_SOUND_MS / 1000 * 2);
  int peak = 0;
  for (std::int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
  EXPECT_GT(peak, 2000);   // audible
  EXPECT_LT(peak, 10000);  // soft
  EXPECT_LT(std::abs(static_cast<int>(samples.back())), 100);  // no click at the end
  EXPECT_EQ(samples[1000], samples[1001]);  // left and right alike
  EXPECT_TRUE(MakeDefaultSound(0, 2).empty());
}

}  // namespace
