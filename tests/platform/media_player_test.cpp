// Real sound through SDL's disk audio driver, which writes the mix to a file in
// real time: CD tracks, MIDI and WAV sound while they play and fall silent when
// stopped; every test file loads; malformed files and long names crash nothing.
#include "platform/media/mixer_player.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "platform/headless/headless_backend.h"
#include "platform/media/media.h"
#include "platform/platform.h"
#include "platform/shift_jis.h"
#include "support/novel.h"

namespace {

const std::string TESTDATA = YOMU_TESTDATA_DIR;

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::vector<std::string> FilesIn(const std::string& folder, const std::string& extension) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(TESTDATA + "/" + folder)) {
    if (entry.path().extension() == extension) names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class MediaPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    output_ = novel_.File("disk-audio.raw");
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
      GTEST_SKIP() << "SDL's disk audio driver cannot be opened here: " << SDL_GetError();
    }
    audio_ready_ = true;
    std::string error;
    player_ = MixerPlayer::Create(shift_jis_, {novel_.path(), std::nullopt}, error);
    if (!player_) GTEST_SKIP() << "no audio device on the disk driver: " << error;
  }

  void TearDown() override {
    player_.reset();
    if (audio_ready_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
  }

  DWORD Send(const std::string& command) {
    const std::optional<MediaCommand> parsed = ParseMediaCommand(command);
    return parsed ? player_->Run(*parsed) : MCIERR_UNRECOGNIZED_COMMAND;
  }

  void OpenMidi(const std::string& name) {
    Send("close midi");
    Send("open \"" + novel_.path() + "\\" + name + "\" type sequencer alias midi");
    Send("seek midi to start");
    Send("play midi");
  }

  // Bytes written so far, 16-bit stereo frames at 44.1 kHz.
  std::uintmax_t Written() const {
    struct stat status {};
    return stat(output_.c_str(), &status) == 0 ? static_cast<std::uintmax_t>(status.st_size) : 0;
  }

  // The loudest sample written between two marks.
  int Peak(std::uintmax_t from, std::uintmax_t to) const {
    const std::string bytes = ReadBytes(output_);
    int peak = 0;
    for (std::uintmax_t i = from & ~std::uintmax_t{1}; i + 1 < std::min<std::uintmax_t>(to, bytes.size()); i += 2) {
      const auto sample = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                    (static_cast<std::uint8_t>(bytes[i + 1]) << 8));
      peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return peak;
  }

  // The peak of what is written during the next ms milliseconds.
  int PeakDuring(int ms) {
    const std::uintmax_t from = Written();
    SleepMs(ms);
    return Peak(from, Written());
  }

  Novel novel_;
  std::string output_;
  ShiftJis shift_jis_;
  bool audio_ready_ = false;
  std::unique_ptr<MixerPlayer> player_;
};

TEST_F(MediaPlayerTest, CdMidiAndWavSoundAndStop) {
  novel_.WriteBytes("track02.ogg", ReadBytes(TESTDATA + "/ogg/freedesktop-complete.oga"));
  novel_.WriteBytes("bgm.mid", ReadBytes(TESTDATA + "/midi/dink-2.mid"));
  novel_.WriteBytes("se.wav", ReadBytes(TESTDATA + "/wav/freedink-bird1.wav"));
  EXPECT_EQ(Send("open cdaudio"), 0u);
  EXPECT_EQ(Send("set cdaudio time format tmsf"), 0u);
  EXPECT_EQ(Send("play cdaudio from 2"), 0u);
  EXPECT_EQ(player_->cd_track(), 2);
  EXPECT_GT(PeakDuring(300), 1000) << "the CD track is silent";
  EXPECT_EQ(Send("stop cdaudio"), 0u);
  EXPECT_EQ(Send("close cdaudio"), 0u);
  SleepMs(100);  // what the device had buffered drains
  EXPECT_EQ(PeakDuring(150), 0) << "the CD plays on after stop";

  ASSERT_TRUE(player_->midi_available()) << "no soundfont found";
  OpenMidi("bgm.mid");
  EXPECT_TRUE(player_->midi_playing());
  EXPECT_GT(PeakDuring(600), 1000) << "the MIDI file is silent";
  EXPECT_EQ(Send("close midi"), 0u);
  SleepMs(100);
  EXPECT_EQ(PeakDuring(150), 0) << "MIDI plays on after close";

  player_->PlaySound("SE.WAV");
  EXPECT_EQ(player_->last_sound(), SoundSource::File);
  EXPECT_GT(PeakDuring(300), 1000) << "the WAV is silent";
}

TEST_F(MediaPlayerTest, CdAndMidiSoundTogether) {
  novel_.WriteBytes("track01.ogg", ReadBytes(TESTDATA + "/ogg/freedesktop-complete.oga"));
  novel_.WriteBytes("bgm.mid", ReadBytes(TESTDATA + "/midi/dink-2.mid"));
  Send("open cdaudio");
  Send("play cdaudio from 1");
  OpenMidi("bgm.mid");
  SleepMs(200);
  EXPECT_EQ(player_->cd_track(), 1);
  EXPECT_TRUE(player_->midi_playing());
}

TEST_F(MediaPlayerTest, CdRunsOnIntoTheNextTracksUntilNone) {
  novel_.WriteBytes("track02.ogg", ReadBytes(TESTDATA + "/ogg/freedesktop-complete.oga"));  // 1.09 s
  std::filesystem::create_directory(novel_.File("cd"));
  novel_.WriteBytes("cd/TRACK03.WAV", ReadBytes(TESTDATA + "/wav/planetblupi-sound069.wav"));  // 0.46 s
  Send("open cdaudio");
  Send("play cdaudio from 2");
  const auto waited_until = [&](int wanted, int limit_ms) {
    for (int ms = 0; ms < limit_ms && player_->cd_track() != wanted; ms += 20) {
      SleepMs(20);
      player_->Update();
    }
    return player_->cd_track() == wanted;
  };
  EXPECT_TRUE(waited_until(3, 2000)) << "track 3 did not follow track 2";
  EXPECT_TRUE(waited_until(0, 2000)) << "play did not end after the last track";
}

TEST_F(MediaPlayerTest, EveryMidiFileLoadsAndPlays) {
  ASSERT_TRUE(player_->midi_available());
  for (const std::string& name : FilesIn("midi", ".mid")) {
    novel_.WriteBytes(name, ReadBytes(TESTDATA + "/midi/" + name));
    OpenMidi(name);
    SleepMs(100);  // the file is parsed on the audio thread's first buffer
    EXPECT_TRUE(player_->midi_playing()) << name;
  }
  Send("close midi");
}

TEST_F(MediaPlayerTest, EveryWavFileLoads) {
  for (const std::string& name : FilesIn("wav", ".wav")) {
    novel_.WriteBytes(name, ReadBytes(TESTDATA + "/wav/" + name));
    player_->PlaySound(name.c_str());
    EXPECT_EQ(player_->last_sound(), SoundSource::File) << name;
  }
}

TEST_F(MediaPlayerTest, MissingOrUnreadableWavPlaysTheDefaultSound) {
  novel_.WriteBytes("noise.wav", std::string(3000, '\x5A'));
  novel_.WriteBytes("empty.wav", "");
  for (const char* name : {"missing.wav", "noise.wav", "empty.wav", ""}) {
    player_->PlaySound(name);
    EXPECT_EQ(player_->last_sound(), SoundSource::Default) << name;
  }
  EXPECT_GT(PeakDuring(120), 1000) << "the default sound is silent";
  player_->PlaySound(nullptr);  // stops it
}

// Truncated copies, random bytes and empty files: nothing plays, nothing crashes.
TEST_F(MediaPlayerTest, MalformedMusicPlaysNothing) {
  std::srand(7);
  std::string noise(4096, '\0');
  for (char& byte : noise) byte = static_cast<char>(std::rand());
  const std::string midi = ReadBytes(TESTDATA + "/midi/freedoom-D_STLKS3.mid");
  const std::string ogg = ReadBytes(TESTDATA + "/ogg/freedesktop-complete.oga");
  novel_.WriteBytes("short.mid", midi.substr(0, midi.size() / 2));
  novel_.WriteBytes("header.mid", midi.substr(0, 14));
  novel_.WriteBytes("noise.mid", "MThd" + noise);
  novel_.WriteBytes("empty.mid", "");
  novel_.WriteBytes("track01.ogg", noise);
  novel_.WriteBytes("track02.ogg", "");
  novel_.WriteBytes("track03.ogg", ogg.substr(0, 200));
  Send("open cdaudio");
  const std::uintmax_t from = Written();
  for (const char* name : {"short.mid", "header.mid", "noise.mid", "empty.mid", "absent.mid"}) {
    OpenMidi(name);
    SleepMs(60);
    EXPECT_FALSE(player_->midi_playing()) << name;
  }
  for (int track = 1; track <= 3; ++track) {
    EXPECT_NE(Send("play cdaudio from " + std::to_string(track)), 0u);
    EXPECT_EQ(player_->cd_track(), 0);
  }
  SleepMs(100);
  EXPECT_EQ(Peak(from, Written()), 0);
}

TEST_F(MediaPlayerTest, TruncatedSoundAndTrackCrashNothing) {
  const std::string wav = ReadBytes(TESTDATA + "/wav/freedink-nono.wav");
  const std::string adpcm = ReadBytes(TESTDATA + "/wav/freedink-nono-msadpcm.wav");
  const std::string ogg = ReadBytes(TESTDATA + "/ogg/freedesktop-complete.oga");
  novel_.WriteBytes("half.wav", wav.substr(0, wav.size() / 2));
  novel_.WriteBytes("head.wav", wav.substr(0, 30));
  novel_.WriteBytes("adpcm.wav", adpcm.substr(0, adpcm.size() / 3));
  novel_.WriteBytes("track04.ogg", ogg.substr(0, ogg.size() / 2));
  for (const char* name : {"half.wav", "head.wav", "adpcm.wav"}) {
    player_->PlaySound(name);
    EXPECT_NE(player_->last_sound(), SoundSource::None) << name;
  }
  Send("open cdaudio");
  Send("play cdaudio from 4");
  SleepMs(100);
  Send("stop cdaudio");
}

TEST_F(MediaPlayerTest, LongNamesCrashNothing) {
  const std::string name(400, 'n');
  const std::string deep = std::string(300, 'd') + "\\" + std::string(300, 'e') + ".mid";
  Send("open \"" + novel_.path() + "\\" + name + "\" type sequencer alias midi");
  Send("open \"" + deep + "\" type sequencer alias midi");
  Send("open \"" + std::string(5000, '\\') + "\" type sequencer alias midi");
  Send("play midi");
  player_->PlaySound(name.c_str());
  EXPECT_EQ(player_->last_sound(), SoundSource::Default);
  player_->PlaySound(std::string(5000, '\x83').c_str());
  Send("play cdaudio from 2147483647");
  EXPECT_EQ(player_->cd_track(), 0);
}

TEST_F(MediaPlayerTest, DeviceStatesOfTheOldInterface) {
  EXPECT_EQ(Send("play cdaudio from 1"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Send("open cdaudio"), 0u);
  EXPECT_EQ(Send("open cdaudio"), MCIERR_DEVICE_OPEN);
  EXPECT_EQ(Send("play cdaudio from 1"), MCIERR_FILE_NOT_FOUND);
  EXPECT_EQ(Send("close cdaudio"), 0u);
  EXPECT_EQ(Send("play midi"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Send("close midi"), MCIERR_INVALID_DEVICE_NAME);
  EXPECT_EQ(Send("play cdaudio"), MCIERR_UNRECOGNIZED_COMMAND);
}

// The media calls record every string and hand the reader's strings to the player.
TEST_F(MediaPlayerTest, MediaCallsReachThePlayer) {
  novel_.WriteBytes("track01.ogg", ReadBytes(TESTDATA + "/ogg/freedesktop-complete.oga"));
  std::ostringstream log;
  HeadlessBackend backend({}, log);
  Platform platform(backend, novel_.path());
  MixerPlayer* player = player_.get();
  platform.media = std::move(player_);
  EXPECT_EQ(mciSendStringA(platform, "open cdaudio", nullptr, 0, nullptr), 0u);
  EXPECT_EQ(mciSendStringA(platform, "play cdaudio from 01", nullptr, 0, nullptr), 0u);
  EXPECT_EQ(player->cd_track(), 1);
  EXPECT_EQ(mciSendStringA(platform, "play cdaudio", nullptr, 0, nullptr), MCIERR_UNRECOGNIZED_COMMAND);
  EXPECT_EQ(player->cd_track(), 1);
  EXPECT_EQ(mciSendStringA(platform, "stop cdaudio", nullptr, 0, nullptr), 0u);
  EXPECT_EQ(player->cd_track(), 0);
  sndPlaySoundA(platform, "none.wav", SND_ASYNC);
  EXPECT_EQ(player->last_sound(), SoundSource::Default);
  EXPECT_NE(log.str().find("mci play cdaudio\n"), std::string::npos);
  EXPECT_NE(log.str().find("sound none.wav 1"), std::string::npos);
  platform.media.reset();
}

}  // namespace
