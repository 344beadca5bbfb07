// Sound effects: one channel, so that a new sound stops the old one as the old
// platform's asynchronous sounds did.
#include "platform/audio/sound_effects.h"

#include "platform/media/default_sound.h"
#include "platform/media/wave_file.h"

namespace {

constexpr int SOUND_CHANNEL = 0;

// Only RIFF/WAVE data reaches the decoder, checked and cut to a sound's length: the
// mixer would take any format it knows from the bytes and decode it whole, MIDI too.
Mix_Chunk* LoadSound(ByteSource& file) {
  const std::optional<std::vector<std::uint8_t>> wave = ReadCheckedSound(file);
  if (!wave) return nullptr;
  // The chunk gets samples of its own; the file's bytes go when this returns.
  return Mix_LoadWAV_RW(SDL_RWFromConstMem(wave->data(), static_cast<int>(wave->size())), 1);
}

}  // namespace

SoundEffects::SoundEffects(int rate_hz, int channel_count)
    : chime_samples_(MakeDefaultSound(rate_hz, channel_count)) {
  // QuickLoad takes the samples as they are, in the mixer's own format, without copying.
  chime_.reset(
      Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(chime_samples_.data()),
                        static_cast<Uint32>(chime_samples_.size() * sizeof(std::int16_t))));
}

SoundEffects::~SoundEffects() { Stop(); }

SoundSource SoundEffects::Play(std::unique_ptr<ByteSource> file) {
  Stop();
  if (file) current_.reset(LoadSound(*file));
  Mix_Chunk* chunk = current_ ? current_.get() : chime_.get();
  last_source_ = current_ ? SoundSource::File : SoundSource::Default;
  if (chunk == nullptr || Mix_PlayChannel(SOUND_CHANNEL, chunk, 0) < 0)
    last_source_ = SoundSource::None;
  return last_source_;
}

void SoundEffects::Stop() {
  Mix_HaltChannel(SOUND_CHANNEL);
  current_.reset();
}
