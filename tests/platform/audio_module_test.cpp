// The audio module: where it is looked for, the built module making a player, and a
// reader without it or without a device, which says so in one line on standard error.
#include "platform/media/audio_module.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

#include "app/headless_runner.h"
#include "platform/audio/mixer_player.h"
#include "platform/media/on_demand_player.h"
#include "support/novel.h"

namespace {

TEST(AudioModule, IsLookedForBesideTheProgramThenUnderItsPrefix) {
  EXPECT_EQ(AudioModulePlaces("/opt/yomu/bin", "../lib/yomu"),
            (std::vector<std::string>{"/opt/yomu/bin/yomu-audio.so",
                                      "/opt/yomu/bin/../lib/yomu/yomu-audio.so"}));
  EXPECT_EQ(AudioModulePlaces("/opt/yomu/bin", "/usr/lib/yomu").back(),
            "/usr/lib/yomu/yomu-audio.so");
  EXPECT_TRUE(AudioModulePlaces("", "../lib/yomu").empty());
}

TEST(AudioModule, TheBuiltModuleMakesAPlayerForItsOwnBuildOnly) {
  std::string error;
  const std::unique_ptr<AudioModule> module =
      AudioModule::Load({"/nowhere/x.so", YOMU_AUDIO_MODULE}, error);
  ASSERT_NE(module, nullptr) << error;
  for (const auto& [version, made] :
       {std::pair{YOMU_VERSION, true}, std::pair{"0.0.0-other", false}}) {
    AudioPlayerReply reply;
    module->factory()({version, std::nullopt}, reply);
    EXPECT_EQ(reply.player != nullptr, made) << version << ": " << reply.error;
  }
}

// Standard error of the process while it lives, read back by Text.
class CapturedStandardError {
 public:
  CapturedStandardError() : saved_(dup(STDERR_FILENO)) {
    std::fflush(stderr);
    EXPECT_NE(std::freopen(path_.c_str(), "w", stderr), nullptr);
  }
  ~CapturedStandardError() { Restore(); }
  std::string Text() {
    Restore();
    return ReadBytes(path_);
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    saved_ = -1;
  }
  Novel folder_;
  std::string path_ = folder_.File("stderr");
  int saved_;
};

TEST(AudioModule, WithoutItTheNovelReadsInSilenceAndSaysSoOnce) {
  Novel novel;
  novel.Write("タイトル.txt",
              "CD 02 0060\nMID 0090 \"bgm.mid\"\n一つ目。\nWAV \"se.wav\"\nC\n二つ目。\nE\n");
  const std::string events = "click 10 10\nclick 10 10\nwait 100000\nstate\n";
  HeadlessOptions options;
  options.novel = novel.path();
  options.make_media = [](Platform&) -> std::unique_ptr<MediaPlayer> {
    return std::make_unique<OnDemandPlayer>(AudioPlayerRequest{YOMU_VERSION, std::nullopt},
                                            std::vector<std::string>{"/nowhere/yomu-audio.so"});
  };
  CapturedStandardError captured;
  const ReaderRun run = RunHeadlessWith(options, events);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(captured.Text(),
            "yomu: no sound module (yomu-audio.so not found); the novel stays silent\n");
  EXPECT_EQ(run.log, RunNovel(novel, events).log);
}

// The audio libraries' own complaints stay off standard error: the reader's one line is
// all the user sees.
TEST(AudioSession, NoDeviceLeavesStandardErrorQuiet) {
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  setenv("AUDIODEV", "hw:99", 1);  // no such card, so ALSA fails and says why at length
  CapturedStandardError captured;
  std::string error;
  const std::unique_ptr<MixerPlayer> player = MixerPlayer::Create({std::nullopt}, error);
  const std::string said = captured.Text();
  unsetenv("AUDIODEV");
  unsetenv("SDL_AUDIODRIVER");
  if (player) GTEST_SKIP() << "an ALSA device opened after all";
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(said, "");
}

}  // namespace
