// Sound effects: one channel, so that a new sound stops the old one as the old
// platform's asynchronous sounds did.
#include "platform/media/sound_effects.h"

#include "platform/media/default_sound.h"

namespace {

constexpr int SOUND_CHANNEL = 0;

}  // namespace

SoundEffects::SoundEffects(int rate_hz, int channel_count)
    : chime_samples_(MakeDefaultSound(rate_hz, channel_count)) {
  // QuickLoad takes the samples as they are, in the mixer's own format, without copying.
  chime_.reset(Mix_QuickLoad_RAW(reinterpret_cast<Uint8*>(chime_samples_.data()),
                                 static_cast<Uint32>(chime_samples_.size() * sizeof(std::int16_t))));
}

SoundEffects::~SoundEffects() { Stop(); }

SoundSource SoundEffects::Play(const std::optional<std::string>& host_path) {
  Stop();
  if (host_path) current_.reset(Mix_LoadWAV(host_path->c_str()));
  Mix_Chunk* chunk = current_ ? current_.get() : chime_.get();
  last_source_ = current_ ? SoundSource::File : SoundSource::Default;
  if (chunk == nullptr || Mix_PlayChannel(SOUND_CHANNEL, chunk, 0) < 0) last_source_ = SoundSource::None;
  return last_source_;
}

void SoundEffects::Stop() {
  Mix_HaltChannel(SOUND_CHANNEL);
  current_.reset();
}
