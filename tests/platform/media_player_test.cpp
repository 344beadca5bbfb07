// Real sound through SDL's disk audio driver, which writes the mix to a file in real time.
#include "platform/media/mixer_player.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/media/media.h"
#include "support/novel.h"

namespace {

using namespace std::string_literals;

const std::string TESTDATA = std::string(YOMU_TESTDATA_DIR) + "/";

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Every call goes through the platform's media calls, which log it and hand it to the player.
class MediaPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) GTEST_SKIP() << "no disk audio driver: " << SDL_GetError();
    audio_ready_ = true;
    std::string error;
    std::unique_ptr<MixerPlayer> player = MixerPlayer::Create(shift_jis_, {novel_.path(), std::nullopt}, error);
    if (!player) GTEST_SKIP() << "no audio device on the disk driver: " << error;
    player_ = player.get();
    platform_.media = std::move(player);
  }
  void TearDown() override {
    platform_.media.reset();
    if (audio_ready_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }

  DWORD Send(const std::string& command) { return mciSendStringA(platform_, command.c_str(), nullptr, 0, nullptr); }
  void OpenMidi(const std::string& name) {
    Send("close midi");
    Send("open \"" + novel_.path() + "\\" + name + "\" type sequencer alias midi");
    Send("seek midi to start");
    Send("play midi");
  }
  void Copy(const std::string& name, const std::string& testdata) {
    novel_.WriteBytes(name, ReadBytes(TESTDATA + testdata));
  }
  std::size_t Written() const { return ReadBytes(output_).size(); }
  int PeakSince(std::size_t from) const {  // the loudest 16-bit sample written since the mark
    const std::string bytes = ReadBytes(output_);
    int peak = 0;
    for (std::size_t i = from & ~std::size_t{1}; i + 1 < bytes.size(); i += 2) {
      std::int16_t sample = 0;
      std::memcpy(&sample, &bytes[i], 2);
      peak = std::max(peak, std::abs(int{sample}));
    }
    return peak;
  }
  int PeakDuring(int ms) {
    const std::size_t from = Written();
    SleepMs(ms);
    return PeakSince(from);
  }

  Novel novel_;
  std::string output_ = novel_.File("disk-audio.raw");
  std::ostringstream log_;
  HeadlessBackend backend_{{}, log_};
  Platform platform_{backend_, novel_.path()};
  ShiftJis shift_jis_;
  bool audio_ready_ = false;
  MixerPlayer* player_ = nullptr;
};

TEST_F(MediaPlayerTest, CdMidiAndWavSoundAndStop) {
  Copy("track02.ogg", "ogg/freedesktop-complete.oga");
  Copy("bgm.mid", "midi/dink-2.mid");
  Copy("se.wav", "wav/freedink-bird1.wav");
  EXPECT_EQ(Send("open cdaudio"), 0u);
  EXPECT_EQ(Send("set cdaudio time format tmsf"), 0u);
  EXPECT_EQ(Send("play cdaudio from 02"), 0u);
  EXPECT_EQ(player_->cd_track(), 2);
  EXPECT_GT(PeakDuring(300), 1000) << "the CD track is silent";
  EXPECT_EQ(Send("stop cdaudio"), 0u);
  SleepMs(100);  // what the device had buffered drains
  EXPECT_EQ(PeakDuring(150), 0) << "the CD plays on after stop";

  ASSERT_TRUE(player_->midi_available()) << "no soundfont found";
  OpenMidi("bgm.mid");
  EXPECT_GT(PeakDuring(600), 1000) << "the MIDI file is silent";
  EXPECT_EQ(Send("play cdaudio from 2"), 0u);
  OpenMidi("bgm.mid");
  SleepMs(100);
  EXPECT_EQ(player_->cd_track(), 2) << "MIDI stopped the CD";
  EXPECT_TRUE(player_->midi_playing());
  EXPECT_EQ(Send("stop cdaudio"), 0u);
  EXPECT_EQ(Send("close cdaudio"), 0u);
  EXPECT_EQ(Send("close midi"), 0u);
  SleepMs(100);
  EXPECT_EQ(PeakDuring(150), 0) << "MIDI plays on after close";

  sndPlaySoundA(platform_, "SE.WAV", SND_ASYNC);
  EXPECT_EQ(player_->last_sound(), SoundSource::File);
  EXPECT_GT(PeakDuring(300), 1000) << "the WAV is silent";
  EXPECT_NE(log_.str().find("mci play cdaudio from 02\n"), std::string::npos);
  EXPECT_NE(log_.str().find("sound SE.WAV 1"), std::string::npos);
}

TEST_F(MediaPlayerTest, CdRunsOnIntoTheNextTracksUntilNone) {
  Copy("track02.ogg", "ogg/freedesktop-complete.oga");  // 1.09 s
  std::filesystem::create_directory(novel_.File("cd"));
  Copy("cd/TRACK03.WAV", "wav/planetblupi-sound069.wav");  // 0.46 s
  Send("open cdaudio");
  Send("play cdaudio from 2");
  for (int wanted : {3, 0}) {
    for (int ms = 0; ms < 2000 && player_->cd_track() != wanted; ms += 20) {
      SleepMs(20);
      player_->Update();
    }
    EXPECT_EQ(player_->cd_track(), wanted);
  }
}

TEST_F(MediaPlayerTest, EveryTestMidiAndWavFileLoads) {
  ASSERT_TRUE(player_->midi_available());
  for (const char* folder : {"midi", "wav"}) {
    for (const auto& entry : std::filesystem::directory_iterator(TESTDATA + folder)) {
      const std::string name = entry.path().filename().string(), extension = entry.path().extension().string();
      Copy(name, folder + ("/" + name));
      if (extension == ".mid") {
        OpenMidi(name);
        SleepMs(100);  // the file is parsed on the audio thread's first buffer
        EXPECT_TRUE(player_->midi_playing()) << name;
      } else if (extension == ".wav") {
        player_->PlaySound(name.c_str());
        EXPECT_EQ(player_->last_sound(), SoundSource::File) << name;
      }
    }
  }
}

// Malformed, truncated, absent and overlong: no music, the default chime for sounds, no crash.
TEST_F(MediaPlayerTest, MalformedMediaPlaysNothing) {
  std::srand(7);
  std::string noise(4096, '\0');
  for (char& byte : noise) byte = static_cast<char>(std::rand());
  const std::string mid = ReadBytes(TESTDATA + "midi/freedoom-D_STLKS3.mid");
  const std::string ogg = ReadBytes(TESTDATA + "ogg/freedesktop-complete.oga");
  const std::string wav = ReadBytes(TESTDATA + "wav/freedink-nono.wav");
  const std::string adpcm = ReadBytes(TESTDATA + "wav/freedink-nono-msadpcm.wav");
  const std::pair<const char*, std::string> files[] = {
      {"short.mid", mid.substr(0, mid.size() / 2)}, {"header.mid", mid.substr(0, 14)},
      {"noise.mid", "MThd" + noise}, {"empty.mid", ""}, {"track01.ogg", noise}, {"track02.ogg", ""},
      {"track03.ogg", ogg.substr(0, 200)}, {"track04.ogg", ogg.substr(0, ogg.size() / 2)},
      {"noise.wav", std::string(3000, '\x5A')}, {"empty.wav", ""}, {"half.wav", wav.substr(0, wav.size() / 2)},
      {"head.wav", wav.substr(0, 30)}, {"adpcm.wav", adpcm.substr(0, adpcm.size() / 3)}};
  for (const auto& [name, bytes] : files) novel_.WriteBytes(name, bytes);
  const std::string long_name(400, 'n');
  Send("open cdaudio");
  const std::size_t from = Written();
  for (const std::string& name : {"short.mid"s, "header.mid"s, "noise.mid"s, "empty.mid"s, "absent.mid"s, long_name,
                                  std::string(300, 'd') + "\\" + std::string(300, 'e'), std::string(5000, '\\')}) {
    OpenMidi(name);
    SleepMs(60);
    EXPECT_FALSE(player_->midi_playing()) << name.substr(0, 20);
  }
  for (int track : {1, 2, 3, 2147483647}) {
    EXPECT_NE(Send("play cdaudio from " + std::to_string(track)), 0u);
    EXPECT_EQ(player_->cd_track(), 0);
  }
  SleepMs(100);
  EXPECT_EQ(PeakSince(from), 0);
  for (const std::string& name : {"missing.wav"s, "noise.wav"s, "empty.wav"s, ""s, long_name, std::string(5000, '\x83')}) {
    player_->PlaySound(name.c_str());
    EXPECT_EQ(player_->last_sound(), SoundSource::Default) << name.substr(0, 20);
  }
  EXPECT_GT(PeakDuring(120), 1000) << "the default sound is silent";
  for (const char* name : {"half.wav", "head.wav", "adpcm.wav"}) {
    player_->PlaySound(name);
    EXPECT_NE(player_->last_sound(), SoundSource::None) << name;
  }
  Send("play cdaudio from 4");  // half a track plays what it can
  SleepMs(100);
  player_->PlaySound(nullptr);
}

TEST_F(MediaPlayerTest, DeviceStatesOfTheOldInterface) {
  Copy("track01.ogg", "ogg/freedesktop-complete.oga");
  EXPECT_EQ(Send("play cdaudio from 1"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Send("open cdaudio"), 0u);
  EXPECT_EQ(Send("open cdaudio"), MCIERR_DEVICE_OPEN);
  EXPECT_EQ(Send("play cdaudio from 2"), MCIERR_FILE_NOT_FOUND);
  EXPECT_EQ(Send("play cdaudio from 1"), 0u);
  EXPECT_EQ(Send("play cdaudio"), MCIERR_UNRECOGNIZED_COMMAND);
  EXPECT_EQ(player_->cd_track(), 1);
  EXPECT_EQ(Send("close cdaudio"), 0u);
  EXPECT_EQ(player_->cd_track(), 0);
  EXPECT_EQ(Send("play midi"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Send("close midi"), MCIERR_INVALID_DEVICE_NAME);
}

}  // namespace
