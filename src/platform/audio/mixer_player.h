// The media player of the real window: CD tracks from audio files, MIDI through
// FluidSynth and WAV sounds, all mixed by SDL2_mixer. SDL stays out of this header.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/error_or.h"
#include "platform/audio/cd_music.h"
#include "platform/files/byte_source.h"
#include "platform/media/media_player.h"

class AudioSession;
class MidiMusic;
class SoundEffects;

struct MixerPlayerOptions {
  std::optional<std::string> soundfont_file;  // overrides the search for a GM soundfont
  // The reader's player opens the device when something first sounds; tests open it
  // at once, to know whether there is one.
  bool open_device_on_first_sound = false;
  WarningSink warn;  // a device that cannot be opened is told of here
};

class MixerPlayer final : public MediaPlayer {
 public:
  // Opens the audio device, now or at the first sound. nullptr and the reason when
  // there is none now; later, every command succeeds silently. SDL_mixer has one
  // device per process, so there is at most one player at a time. Files come from
  // the novel's volume, handed over with every call.
  static ErrorOr<std::unique_ptr<MixerPlayer>, std::string> Create(MixerPlayerOptions options);
  ~MixerPlayer() override;
  MixerPlayer(const MixerPlayer&) = delete;
  MixerPlayer& operator=(const MixerPlayer&) = delete;

  DWORD Run(const MediaCommand& command, Volume& volume) override;
  void PlaySound(const char* name_sjis, Volume& volume) override;
  void Update(Volume& volume) override;
  void SetLevel(int percent) override;
  // Loads the soundfont when midi is set (the device still opens at the first sound);
  // safe on another thread while the player is in use.
  void LoadAhead(bool midi) override;
  void ReaderWaits() override;
  bool WorkWaits() override;

  // The General MIDI soundfont that MIDI music plays with, if one was found.
  const std::optional<std::string>& soundfont_path() const { return soundfont_path_; }

 private:
  friend class MixerPlayerProbe;  // what sounds, looked at by the tests and benchmarks
  explicit MixerPlayer(MixerPlayerOptions options);
  ErrorOr<void, std::string> OpenDevice();
  bool ReadyToSound();
  bool ReadyForMidi();
  void StartWhatWaits();
  static void PostMix(void* self, std::uint8_t* stream, int byte_count);
  DWORD RunCd(const MediaCommand& command, Volume& volume);
  DWORD RunMidi(const MediaCommand& command, Volume& volume);
  // Loads track files from the volume of the call at hand.
  CdMusic::TrackLoader TrackLoader(Volume& volume);

  const MixerPlayerOptions options_;
  std::optional<std::string> soundfont_path_;
  std::uint32_t wake_event_type_ = 0;
  bool device_failed_ = false;
  bool cd_open_ = false;
  bool midi_open_ = false;
  // What a click asked to sound starts once its page is shown (ReaderWaits): opening
  // the device and decoding a sound would hold the page back.
  bool device_wanted_ = false;
  std::optional<std::unique_ptr<ByteSource>> sound_waiting_;  // nullptr: the default sound
  // The device goes last, after everything that plays on it.
  std::unique_ptr<AudioSession> session_;
  std::unique_ptr<CdMusic> cd_;
  std::unique_ptr<MidiMusic> midi_;
  std::mutex midi_loading_;  // the mixing hook skips MIDI while the synthesizer is being made
  std::unique_ptr<SoundEffects> sounds_;
  // The mix's gain in 65536ths, which the mixing thread applies last.
  static constexpr std::int32_t FULL_GAIN = 65536;
  std::atomic<std::int32_t> gain_65536ths_{FULL_GAIN};
};
