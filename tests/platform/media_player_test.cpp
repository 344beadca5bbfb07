// Real sound through SDL's disk audio driver, which writes the mix to a file in real time.
#include "platform/audio/mixer_player.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/calls/media_calls.h"
#include "support/mixer_player_probe.h"
#include "support/novel.h"
#include "support/test_data.h"

namespace {

using namespace std::string_literals;
using Pairs = std::vector<std::pair<std::string, std::string>>;

std::string Testdata(const std::string& name) { return ReadBytes(TestDataPath(name)); }

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

class MediaPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << "no disk driver " << SDL_GetError();
    auto player = MixerPlayer::Create(
        {{}, false, [this](const std::string& warning) { warnings_.push_back(warning); }});
    ASSERT_TRUE(player) << "no audio device on the disk driver: " << player.error();
    player_ = player->get();
    platform_.media = player.release_value();
  }
  void TearDown() override {
    platform_.media.reset();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);  // a no-op when it never started
    for (const char* name : {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE"}) unsetenv(name);
  }

  DWORD Send(const std::string& command) {
    return mciSendStringA(platform_, command.c_str(), nullptr, 0, nullptr);
  }
  void Expect(const std::vector<std::pair<std::string, DWORD>>& replies) {
    for (const auto& [command, reply] : replies) EXPECT_EQ(Send(command), reply) << command;
  }
  // The file is parsed on the audio thread's first buffer, once the bank that its
  // instruments want has loaded.
  bool MidiPlays(const std::string& name, int ms) {
    Send("close midi");
    Send("open \"" + novel_.path() + "\\" + name + "\" type sequencer alias midi");
    for (const char* command : {"seek midi to start", "play midi"}) Send(command);
    player_->ReaderWaits();  // as the reader does once the click's page is drawn
    SleepMs(ms);
    return MixerPlayerProbe::MidiPlaying(*player_);
  }
  SoundSource Play(const std::string& name) {
    player_->PlaySound(name.c_str(), *platform_.volume);
    player_->ReaderWaits();
    return MixerPlayerProbe::LastSound(*player_);
  }
  void Copy(const Pairs& files) {
    for (const auto& [to, from] : files) novel_.WriteBytes(to, Testdata(from));
  }
  // The loudest 16-bit little-endian sample since from, after ms.
  int PeakSince(std::size_t from, int ms = 0) const {
    SleepMs(ms);
    const std::string bytes = ReadBytes(output_);
    int peak = 0;
    for (std::size_t i = from & ~std::size_t{1}; i + 1 < bytes.size(); i += 2)
      peak = std::max(peak, std::abs(std::int16_t(std::uint8_t(bytes[i]) | bytes[i + 1] << 8)));
    return peak;
  }
  int PeakDuring(int ms, int drain_ms = 0) {  // drain_ms lets what the device had buffered play out
    SleepMs(drain_ms);
    return PeakSince(ReadBytes(output_).size(), ms);
  }

  Novel novel_;
  std::string output_ = novel_.File("disk-audio.raw");
  std::ostringstream log_;
  HeadlessBackend backend_{{}, log_};
  Platform platform_{backend_, OpenFolder(novel_.path())};
  std::vector<std::string> warnings_;
  MixerPlayer* player_ = nullptr;
};

TEST_F(MediaPlayerTest, CdMidiAndWavSoundAndStop) {
  Copy({{"track02.ogg", "ogg/freedesktop-complete.oga"}, {"bgm.mid", "midi/dink-2.mid"},
        {"se.wav", "wav/freedink-bird1.wav"}});
  Expect({{"open cdaudio", 0}, {"set cdaudio time format tmsf", 0}, {"play cdaudio from 02", 0}});
  EXPECT_EQ(MixerPlayerProbe::CdTrack(*player_), 2);
  EXPECT_GT(PeakDuring(300), 1000) << "the CD track is silent";
  Expect({{"stop cdaudio", 0}});
  EXPECT_EQ(PeakDuring(150, 100), 0) << "the CD plays on after stop";

  ASSERT_TRUE(MixerPlayerProbe::MidiAvailable(*player_)) << "no soundfont found";
  MidiPlays("bgm.mid", 0);
  EXPECT_GT(PeakDuring(600), 1000) << "the MIDI file is silent";
  Expect({{"play cdaudio from 2", 0}});
  EXPECT_TRUE(MidiPlays("bgm.mid", 100));
  EXPECT_EQ(MixerPlayerProbe::CdTrack(*player_), 2) << "MIDI stopped the CD";
  Expect({{"stop cdaudio", 0}, {"close cdaudio", 0}, {"close midi", 0}});
  // The last buffer rendered before the close may carry the reverb's tail; on a busy
  // machine the disk driver writes it late.
  EXPECT_EQ(PeakDuring(150, 250), 0) << "MIDI plays on after close";

  // A sound starts once the click's page is out, when the reader waits; of two in
  // one click only the later sounds, as it would cut the first off at once.
  sndPlaySoundA(platform_, "ABSENT.WAV", SND_ASYNC);
  sndPlaySoundA(platform_, "SE.WAV", SND_ASYNC);
  EXPECT_EQ(MixerPlayerProbe::LastSound(*player_), SoundSource::None);
  player_->ReaderWaits();
  EXPECT_EQ(MixerPlayerProbe::LastSound(*player_), SoundSource::File);
  EXPECT_GT(PeakDuring(300), 1000) << "the WAV is silent";
  for (const char* line : {"mci play cdaudio from 02\n", "sound SE.WAV 1"})
    EXPECT_NE(log_.str().find(line), std::string::npos) << line;
}

// Malformed, truncated, absent and overlong: no music, the default chime for sounds.
TEST_F(MediaPlayerTest, MalformedMediaPlaysNothingAndEveryTestFileLoads) {
  const std::string mid = Testdata("midi/freedoom-D_STLKS3.mid");
  const std::string ogg = Testdata("ogg/freedesktop-complete.oga");
  const std::string noise = ogg.substr(500, 4096);  // compressed audio: bytes without a pattern
  const Pairs files = {
      {"short.mid", mid.substr(0, mid.size() / 2)}, {"header.mid", mid.substr(0, 14)},
      {"noise.mid", "MThd" + noise}, {"empty.mid", ""}, {"track01.ogg", noise}, {"track02.ogg", ""},
      {"track03.ogg", ogg.substr(0, 200)}, {"noise.wav", std::string(3000, 'Z')},
      {"empty.wav", ""}};
  for (const auto& [name, bytes] : files) novel_.WriteBytes(name, bytes);
  const std::string long_name(400, 'n');
  Send("open cdaudio");
  const std::size_t from = ReadBytes(output_).size();
  for (const std::string& name :
       {"short.mid"s, "header.mid"s, "noise.mid"s, "empty.mid"s, "absent.mid"s, long_name,
        std::string(300, 'd') + "\\" + std::string(300, 'e'), std::string(5000, '\\')})
    EXPECT_FALSE(MidiPlays(name, 60)) << name.substr(0, 20);
  for (int track : {1, 2, 3, 2147483647})
    EXPECT_TRUE(Send("play cdaudio from " + std::to_string(track)) != 0 &&
                MixerPlayerProbe::CdTrack(*player_) == 0) << track;
  EXPECT_EQ(PeakSince(from, 100), 0);
  const std::string refused = " cannot be played: its header is no .ogg header that the reader plays";
  EXPECT_EQ(warnings_, (std::vector<std::string>{
                           "CD track 1: the file track01.ogg" + refused,
                           "CD track 2: the file track02.ogg" + refused,
                           "CD track 3: the file track03.ogg cannot be played: the decoder refuses "
                           "it: Not an Ogg Vorbis audio stream"}));
  const std::size_t before_chimes = ReadBytes(output_).size();
  for (const std::string& name :
       {"missing.wav"s, "noise.wav"s, "empty.wav"s, ""s, long_name, std::string(5000, '\x83')})
    EXPECT_EQ(Play(name), SoundSource::Default) << name.substr(0, 20);
  // From before the chimes: a loaded machine may have written them out already.
  EXPECT_GT(PeakSince(before_chimes, 300), 1000) << "the default sound is silent";
  for (const char* folder : {"midi", "wav"})
    for (const auto& entry : std::filesystem::directory_iterator(TestDataPath(folder))) {
      const std::string name = entry.path().filename().string();
      Copy({{name, folder + ("/" + name)}});
      if (name.ends_with(".mid")) { EXPECT_TRUE(MidiPlays(name, 100)) << name; }
      if (name.ends_with(".wav")) { EXPECT_EQ(Play(name), SoundSource::File) << name; }
    }
  // Every compressed track of the test data plays as a CD track of its format.
  int track = 10;
  for (const char* folder : {"ogg", "flac", "mp3"})
    for (const auto& entry : std::filesystem::directory_iterator(TestDataPath(folder))) {
      const std::string file = "track" + std::to_string(++track) + "." + folder;
      Copy({{file, folder + ("/" + entry.path().filename().string())}});
      Send("play cdaudio from " + std::to_string(track));
      EXPECT_EQ(MixerPlayerProbe::CdTrack(*player_), track) << entry.path();
    }
}

TEST_F(MediaPlayerTest, CdDeviceStatesAndRunningOnIntoTheNextTracksUntilNone) {
  Copy({{"track01.ogg", "ogg/freedesktop-complete.oga"}});
  Expect({{"play cdaudio from 1", MCIERR_INVALID_DEVICE_NAME}, {"open cdaudio", 0},
          {"open cdaudio", MCIERR_DEVICE_OPEN}, {"play cdaudio from 2", MCIERR_FILE_NOT_FOUND},
          {"play cdaudio from 1", 0}, {"play cdaudio", MCIERR_UNRECOGNIZED_COMMAND}});
  EXPECT_EQ(MixerPlayerProbe::CdTrack(*player_), 1);
  Expect({{"close cdaudio", 0}, {"play midi", MCIERR_INVALID_DEVICE_NAME},
          {"close midi", MCIERR_INVALID_DEVICE_NAME}});
  EXPECT_EQ(MixerPlayerProbe::CdTrack(*player_), 0);
  std::filesystem::create_directory(novel_.File("cd"));
  Copy({{"track02.ogg", "ogg/freedesktop-complete.oga"},
        {"cd/TRACK03.WAV", "wav/planetblupi-sound069.wav"}});
  Expect({{"open cdaudio", 0}, {"play cdaudio from 2", 0}});  // 1.09 s, then 0.46 s
  for (int wanted : {3, 0}) {
    for (int ms = 0; ms < 2000 && MixerPlayerProbe::CdTrack(*player_) != wanted; ms += 20) {
      SleepMs(20);
      player_->Update(*platform_.volume);
    }
    EXPECT_EQ(MixerPlayerProbe::CdTrack(*player_), wanted);
  }
}

}  // namespace
