// With no audio device, the audio libraries' own complaints stay off standard error:
// the reader's one line is all the user sees.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/audio/mixer_player.h"
#include "support/novel.h"

namespace {

TEST(AudioSession, NoDeviceLeavesStandardErrorQuiet) {
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  setenv("AUDIODEV", "hw:99", 1);  // no such card, so ALSA fails and says why at length
  Novel novel;
  const std::string captured = novel.File("stderr");
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  ASSERT_NE(std::freopen(captured.c_str(), "w", stderr), nullptr);
  std::string error;
  const std::unique_ptr<MixerPlayer> player =
      MixerPlayer::Create({novel.path(), std::nullopt}, error);
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
  unsetenv("AUDIODEV");
  unsetenv("SDL_AUDIODRIVER");
  if (player) GTEST_SKIP() << "an ALSA device opened after all";
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(captured).rdbuf()), {}), "");
}

}  // namespace
