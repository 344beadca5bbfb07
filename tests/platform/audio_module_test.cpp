// The audio module: where it is looked for, the built module making a player, damaged
// files refused before they are mapped, and a reader without a usable module or
// without a device, which says so in one line on standard error.
#include "platform/media/audio_module.h"

#include <elf.h>
#include <gtest/gtest.h>
#include <link.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>

#include "app/headless_runner.h"
#include "platform/audio/mixer_player.h"
#include "platform/media/on_demand_player.h"
#include "support/novel.h"
#include "support/test_data.h"

namespace {

TEST(AudioModule, IsLookedForBesideTheProgramThenUnderItsPrefix) {
  EXPECT_EQ(AudioModulePlaces("/opt/yomu/bin", "../lib/yomu"),
            (std::vector<std::string>{"/opt/yomu/bin/yomu-audio.so",
                                      "/opt/yomu/bin/../lib/yomu/yomu-audio.so"}));
  EXPECT_EQ(AudioModulePlaces("/opt/yomu/bin", "/usr/lib/yomu").back(),
            "/usr/lib/yomu/yomu-audio.so");
  EXPECT_TRUE(AudioModulePlaces("", "../lib/yomu").empty());
}

// The first 8 KiB of the built module: its headers whole, its segments cut off.
std::string CutModule(const Novel& folder) {
  folder.WriteBytes("cut/yomu-audio.so", ReadBytes(YOMU_AUDIO_MODULE).substr(0, 8192));
  return folder.File("cut/yomu-audio.so");
}

// dlopen would die of SIGBUS on a cut module and wait for ever on a FIFO: damaged files
// are refused with their reasons before they are mapped, and the next place is tried.
TEST(AudioModule, DamagedFilesAreRefusedAndTheBuiltModuleMakesAPlayerForItsOwnBuildOnly) {
  Novel folder;
  std::string other_machine = ReadBytes(YOMU_AUDIO_MODULE);
  other_machine[offsetof(ElfW(Ehdr), e_machine)] ^= 1;
  folder.WriteBytes("other.so", other_machine);
  ASSERT_EQ(mkfifo(folder.File("fifo.so").c_str(), 0600), 0);
  std::vector<std::string> places = {CutModule(folder), folder.File("fifo.so"),
                                     folder.File("other.so"), "/nowhere/x.so"};
  const auto refused = AudioModule::Load(places);
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error(), places[0] + ": cut short: its segments reach past the end of the file (8192 "
                               "bytes); " + places[1] + ": is not a regular file; " +
                       places[2] + ": built for another machine");
  places.push_back(YOMU_AUDIO_MODULE);
  const auto loaded = AudioModule::Load(places);
  ASSERT_TRUE(loaded) << loaded.error();
  const std::unique_ptr<AudioModule>& module = *loaded;
  for (const auto& [version, made] :
       {std::pair{YOMU_VERSION, true}, std::pair{"0.0.0-other", false}}) {
    AudioPlayerReply reply;
    module->factory()({version, std::nullopt, {}}, reply);
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

TEST(AudioModule, WithoutAUsableOneTheNovelReadsInSilenceAndSaysSoOnce) {
  Novel novel;
  const std::string cut = CutModule(novel);
  novel.Write("タイトル.txt",
              "CD 02 0060\nMID 0090 \"bgm.mid\"\n一つ目。\nWAV \"se.wav\"\nC\n二つ目。\nE\n");
  const std::string events = "click 10 10\nclick 10 10\nwait 100000\nstate\n";
  HeadlessOptions options;
  options.novel = novel.path();
  options.make_media = [cut](Platform& platform) -> std::unique_ptr<MediaPlayer> {
    return std::make_unique<OnDemandPlayer>(
        AudioPlayerRequest{YOMU_VERSION, std::nullopt,
                           [&platform](const std::string& text) { platform.Warn(text); }},
        std::vector<std::string>{"/nowhere/yomu-audio.so", cut});
  };
  const ReaderRun run = RunHeadlessWith(options, events);
  EXPECT_EQ(run.exit_code, 0);
  const std::string said = "no sound module (" + cut +
                           ": cut short: its segments reach past the end of the file (8192 "
                           "bytes)); the novel stays silent";
  EXPECT_EQ(run.Count("warning " + said), 1);
  std::string log = run.log;
  const std::size_t warning = log.find(" warning " + said + "\n");
  ASSERT_NE(warning, std::string::npos);
  log.erase(log.rfind('@', warning), log.find('\n', warning) + 1 - log.rfind('@', warning));
  EXPECT_EQ(log, RunNovel(novel, events).log);
}

// A load ahead of the first sound says nothing until that sound, which then says
// what a load at the sound would have; with the built module, MIDI opens at once
// on the soundfont loaded ahead.
TEST(AudioModule, ALoadAheadSpeaksOnlyAtTheFirstSound) {
  Novel novel;
  const std::string cut = CutModule(novel);
  novel.WriteBytes("bgm.mid", ReadBytes(TestDataPath("midi/dink-2.mid")));
  const std::unique_ptr<Volume> volume = OpenFolder(novel.path());
  const std::string open = "open \"" + novel.path() + "\\bgm.mid\" type sequencer alias midi";
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  for (const std::string& module : {cut, std::string(YOMU_AUDIO_MODULE)}) {
    std::vector<std::string> said;
    OnDemandPlayer player({YOMU_VERSION, std::nullopt,
                           [&said](const std::string& text) { said.push_back(text); }},
                          {module});
    player.LoadAhead(true);
    player.Update(*volume);
    EXPECT_TRUE(said.empty());
    const bool built = module != cut;
    EXPECT_EQ(player.Run(*ParseMediaCommand(open.c_str()), *volume),
              built ? 0 : MCIERR_FILE_NOT_FOUND);
    EXPECT_EQ(said.size(), built ? 0u : 1u) << (said.empty() ? "" : said[0]);
  }
  unsetenv("SDL_AUDIODRIVER");
}

// The audio libraries' own complaints stay off standard error: the reader's one line is
// all the user sees.
TEST(AudioSession, NoDeviceLeavesStandardErrorQuiet) {
  setenv("SDL_AUDIODRIVER", "alsa", 1);
  setenv("AUDIODEV", "hw:99", 1);  // no such card, so ALSA fails and says why at length
  CapturedStandardError captured;
  const auto player = MixerPlayer::Create({});
  const std::string said = captured.Text();
  unsetenv("AUDIODEV");
  unsetenv("SDL_AUDIODRIVER");
  if (player) GTEST_SKIP() << "an ALSA device opened after all";
  EXPECT_FALSE(player.error().empty());
  EXPECT_EQ(said, "");
}

}  // namespace
