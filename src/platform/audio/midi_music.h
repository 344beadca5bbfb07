// MIDI music rendered by FluidSynth with a General MIDI soundfont, mixed into
// SDL_mixer's output after everything else, so that it sounds together with the
// CD track (SDL_mixer plays only one Mix_Music at a time).
#pragma once

#include <fluidsynth.h>

#include <atomic>
#include <cstdint>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/audio/soundfont_subset.h"

class MidiMusic {
 public:
  // A synthesizer at rate_hz with the soundfont loaded, or nullptr when it cannot be made.
  static std::unique_ptr<MidiMusic> Create(const std::string& soundfont_path, int rate_hz);
  ~MidiMusic();
  MidiMusic(const MidiMusic&) = delete;
  MidiMusic& operator=(const MidiMusic&) = delete;

  // Loads a Standard MIDI File from its bytes, stopped at its start; false when
  // they are no MIDI file (then nothing is open).
  bool Open(std::string_view file_bytes);
  // Starts loading the bank that the open file's instruments want, if it wants one.
  void StartBankLoad();
  void Rewind();
  void Play();
  void Close();
  // The file plays now (it loaded and has not finished).
  bool playing();

  // Audio buffers that carried MIDI music so far (for measuring the start's latency).
  std::uint64_t rendered_buffers() const { return rendered_buffers_; }
  bool bank_wanted() const { return bank_wanted_.has_value(); }

  // The audio thread: adds the music to interleaved stereo signed 16-bit samples.
  void MixInto(std::uint8_t* stream, int byte_count);

 private:
  struct SettingsDeleter {
    void operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
  };
  struct SynthDeleter {
    void operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
  };
  struct PlayerDeleter {
    void operator()(fluid_player_t* player) const { delete_fluid_player(player); }
  };

  MidiMusic() = default;
  // With mutex_ held: wants the bank cut to `programs` unless the loaded bank holds
  // them already. The audio thread renders no music until it is loaded.
  void StartBankLoadLocked(MidiPrograms programs);
  // On the loading thread: the cut bank replaces the loaded one.
  void LoadBank(const MidiPrograms& programs);
  void FinishBankLoad();
  // With mutex_ held: a fresh player for the open file, stopped at its start.
  void ResetPlayerLocked();
  void SilenceLocked();
  bool AudibleLocked();
  void RenderLocked(std::uint8_t* stream, int frame_count);

  // Guards the synthesizer and the player between the reader's thread and the
  // audio thread, which renders with it held.
  std::mutex mutex_;
  std::unique_ptr<fluid_settings_t, SettingsDeleter> settings_;
  std::unique_ptr<fluid_synth_t, SynthDeleter> synth_;
  std::unique_ptr<fluid_player_t, PlayerDeleter> player_;
  std::vector<char> file_bytes_;
  // The soundfont as the synthesizer has it: cut to the programs of the music, or
  // whole when its preset data cannot be cut (then cut_bank_path_ is empty and
  // loaded_programs_ holds all). Its preset data is read again for each cut rather
  // than kept, a fifth of a megabyte for a General MIDI bank.
  std::string cut_bank_path_;
  std::unique_ptr<SoundFontSubset> subset_;
  int soundfont_id_ = FLUID_FAILED;
  MidiPrograms loaded_programs_;
  std::optional<MidiPrograms> bank_wanted_;
  std::future<void> bank_loading_;
  std::atomic<bool> bank_ready_{true};
  std::vector<float> render_buffer_;
  std::atomic<std::uint64_t> rendered_buffers_{0};
};
