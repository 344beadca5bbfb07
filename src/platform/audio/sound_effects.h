// WAV sounds on a mixer channel of their own, over both kinds of music. A new
// sound cuts off the one before it; a file that does not load plays the default chime.
#pragma once

#include <SDL_mixer.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files/byte_source.h"
#include "platform/media/media_player.h"

class SoundEffects {
 public:
  // rate_hz, channel_count: the mixer's output, in which the chime is made.
  SoundEffects(int rate_hz, int channel_count);
  ~SoundEffects();
  SoundEffects(const SoundEffects&) = delete;
  SoundEffects& operator=(const SoundEffects&) = delete;

  // Plays the sound of a file, or the default sound when there is none or it does
  // not load. What played.
  SoundSource Play(std::unique_ptr<ByteSource> file);
  void Stop();
  SoundSource last_source() const { return last_source_; }

 private:
  struct ChunkDeleter {
    void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
  };
  using Chunk = std::unique_ptr<Mix_Chunk, ChunkDeleter>;

  std::vector<std::int16_t> chime_samples_;  // the chime chunk points into these
  Chunk chime_;
  Chunk current_;
  SoundSource last_source_ = SoundSource::None;
};
