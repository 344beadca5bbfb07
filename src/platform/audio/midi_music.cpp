// MIDI through FluidSynth: the file is read and checked on the reader's thread,
// the player is driven by the samples that the audio thread renders, and a
// rewind makes a fresh player from the file's bytes, because a FluidSynth player
// that has run to its end does not reliably start again.
#include "platform/audio/midi_music.h"

#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <utility>

#include "platform/audio/soundfont_subset_file.h"
#include "platform/files/regular_file.h"
#include "platform/media/midi_file.h"

namespace {

constexpr int RENDER_FRAMES = 1024;
constexpr double SYNTH_GAIN = 0.4;
// General MIDI asks for 24 notes at once; a note of a soundfont may sound two
// samples (left and right), and notes dying away still sound beside new ones. The
// library's default of 256 voices holds memory that no General MIDI file uses.
constexpr int SYNTH_VOICES = 64;

// FluidSynth's warnings (an instrument that the small bank lacks) are no news to
// a reader; its errors still reach standard error. The setting is the library's own.
void QuietenFluidSynth() {
  fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
  fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
  fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
}

std::int16_t AddClamped(std::int16_t sample, float music) {
  const long sum = std::lround(sample + music * 32767.0f);
  return static_cast<std::int16_t>(std::clamp(sum, -32768L, 32767L));
}

// The bank's preset data, read for this cut and let go once it is made.
std::unique_ptr<SoundFontSubset> CutBank(const std::string& path, const MidiPrograms& programs) {
  const std::optional<SoundFontLayout> layout = SoundFontLayout::Read(path);
  if (!layout) return nullptr;
  return std::make_unique<SoundFontSubset>(layout->Subset(programs));
}

}  // namespace

std::unique_ptr<MidiMusic> MidiMusic::Create(const std::string& soundfont_path, int rate_hz) {
  // The synthesizer would wait for ever on a FIFO given as the soundfont.
  if (!RegularFile::Open(soundfont_path)) return nullptr;
  QuietenFluidSynth();
  std::unique_ptr<MidiMusic> music(new MidiMusic());
  music->settings_.reset(new_fluid_settings());
  if (!music->settings_) return nullptr;
  fluid_settings_setnum(music->settings_.get(), "synth.sample-rate", rate_hz);
  fluid_settings_setnum(music->settings_.get(), "synth.gain", SYNTH_GAIN);
  // Only the instruments that the music selects have their samples read, when it
  // selects them: the same sound, from a fraction of the bank's memory.
  fluid_settings_setint(music->settings_.get(), "synth.dynamic-sample-loading", 1);
  fluid_settings_setint(music->settings_.get(), "synth.polyphony", SYNTH_VOICES);
  music->synth_.reset(new_fluid_synth(music->settings_.get()));
  if (!music->synth_) return nullptr;
  music->render_buffer_.resize(2 * RENDER_FRAMES);
  // A bank whose presets can be cut is loaded for each piece of music with the
  // instruments that it selects; any other bank is loaded whole, once. The cut to
  // program 0 is loaded here with no instrument selected (so no samples are read):
  // a bank that the library cannot take cut fails now, and is then tried whole.
  std::unique_ptr<SoundFontSubset> cut = CutBank(soundfont_path, MidiPrograms().set(0));
  if (cut && AddSubsetLoader(music->synth_.get(), music->settings_.get())) {
    music->subset_ = std::move(cut);
    music->soundfont_id_ =
        fluid_synth_sfload(music->synth_.get(), SubsetFileName(*music->subset_).c_str(), 0);
    if (music->soundfont_id_ != FLUID_FAILED) {
      music->cut_bank_path_ = soundfont_path;
      return music;
    }
  }
  music->soundfont_id_ = fluid_synth_sfload(music->synth_.get(), soundfont_path.c_str(), 1);
  // Reading the bank's tables leaves megabytes freed that the C library would keep.
  malloc_trim(0);
  if (music->soundfont_id_ == FLUID_FAILED) return nullptr;
  music->loaded_programs_.set();
  return music;
}

MidiMusic::~MidiMusic() {
  FinishBankLoad();
  // The player goes before the synthesizer whose sample timer drives it.
  player_.reset();
}

bool MidiMusic::Open(std::string_view file_bytes) {
  // Only a checked file, written anew, reaches the synthesizer's player.
  std::optional<CheckedMidi> checked = CheckedMidiFile(
      {reinterpret_cast<const std::uint8_t*>(file_bytes.data()), file_bytes.size()});
  FinishBankLoad();
  std::lock_guard lock(mutex_);
  SilenceLocked();
  player_.reset();
  file_bytes_ = checked ? std::move(checked->bytes) : std::vector<char>();
  if (file_bytes_.empty()) return false;
  ResetPlayerLocked();
  if (player_) StartBankLoadLocked(checked->programs);
  return player_ != nullptr;
}

// The bank is cut and loaded beside the reader once the click's page is drawn
// (StartBankLoad); the music starts when it is there, a few milliseconds later.
void MidiMusic::StartBankLoadLocked(MidiPrograms programs) {
  // A channel that no program change reaches plays program 0, and a program that
  // the bank lacks falls back to program 0.
  programs.set(0);
  if (cut_bank_path_.empty() || (programs & ~loaded_programs_).none()) return;
  bank_ready_ = false;
  bank_wanted_ = programs;
}

void MidiMusic::StartBankLoad() {
  if (!bank_wanted_) return;
  bank_loading_ = std::async(std::launch::async, [this, programs = *bank_wanted_] {
    LoadBank(programs);
    bank_ready_ = true;
  });
  bank_wanted_.reset();
}

void MidiMusic::LoadBank(const MidiPrograms& programs) {
  // A bank that no longer reads as it did keeps the programs loaded before.
  std::unique_ptr<SoundFontSubset> subset = CutBank(cut_bank_path_, programs);
  if (!subset) return;
  // The new bank goes on top of the old; the channels then take their presets from it.
  const int id = fluid_synth_sfload(synth_.get(), SubsetFileName(*subset).c_str(), 0);
  if (id == FLUID_FAILED) return;
  // Until bank_ready_ the audio thread leaves the synthesizer alone, and the
  // reader's thread waits for this load before it looks at the bank.
  if (soundfont_id_ != FLUID_FAILED) fluid_synth_sfunload(synth_.get(), soundfont_id_, 0);
  fluid_synth_program_reset(synth_.get());
  soundfont_id_ = id;
  subset_ = std::move(subset);
  loaded_programs_ = programs;
  malloc_trim(0);  // the old bank's tables and samples
}

void MidiMusic::FinishBankLoad() {
  if (bank_loading_.valid()) bank_loading_.get();
  // A bank that was wanted and not started is wanted no more: the music changes.
  if (std::exchange(bank_wanted_, std::nullopt)) bank_ready_ = true;
}

void MidiMusic::Rewind() {
  std::lock_guard lock(mutex_);
  if (!player_) return;
  SilenceLocked();
  ResetPlayerLocked();
}

void MidiMusic::Play() {
  std::lock_guard lock(mutex_);
  if (player_) fluid_player_play(player_.get());
}

void MidiMusic::Close() {
  std::lock_guard lock(mutex_);
  SilenceLocked();
  player_.reset();
  file_bytes_.clear();
}

bool MidiMusic::playing() {
  std::lock_guard lock(mutex_);
  return player_ && fluid_player_get_status(player_.get()) == FLUID_PLAYER_PLAYING;
}

void MidiMusic::ResetPlayerLocked() {
  player_.reset();
  player_.reset(new_fluid_player(synth_.get()));
  if (!player_) return;
  // The reader loops the music with its own timer: the file plays once.
  fluid_player_set_loop(player_.get(), 1);
  if (fluid_player_add_mem(player_.get(), file_bytes_.data(), file_bytes_.size()) != FLUID_OK)
    player_.reset();
}

void MidiMusic::SilenceLocked() {
  if (player_) fluid_player_stop(player_.get());
  fluid_synth_all_sounds_off(synth_.get(), -1);
}

bool MidiMusic::AudibleLocked() {
  if (player_ && fluid_player_get_status(player_.get()) == FLUID_PLAYER_PLAYING) return true;
  return fluid_synth_get_active_voice_count(synth_.get()) > 0;  // notes still dying away
}

void MidiMusic::MixInto(std::uint8_t* stream, int byte_count) {
  std::lock_guard lock(mutex_);
  if (!bank_ready_ || !AudibleLocked()) return;
  RenderLocked(stream, byte_count / static_cast<int>(2 * sizeof(std::int16_t)));
  ++rendered_buffers_;
}

void MidiMusic::RenderLocked(std::uint8_t* stream, int frame_count) {
  float* buffer = render_buffer_.data();
  for (int done = 0; done < frame_count;) {
    const int frames = std::min(RENDER_FRAMES, frame_count - done);
    fluid_synth_write_float(synth_.get(), frames, buffer, 0, 2, buffer, 1, 2);
    // The stream need not be aligned for int16_t, so samples go through memcpy.
    std::uint8_t* out = stream + static_cast<std::size_t>(done) * 2 * sizeof(std::int16_t);
    for (int i = 0; i < 2 * frames; ++i) {
      std::int16_t sample;
      std::memcpy(&sample, out + i * sizeof sample, sizeof sample);
      sample = AddClamped(sample, buffer[i]);
      std::memcpy(out + i * sizeof sample, &sample, sizeof sample);
    }
    done += frames;
  }
}
