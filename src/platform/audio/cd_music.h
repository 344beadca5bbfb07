// CD audio without a drive: each track is an audio file, streamed as SDL_mixer's
// one Mix_Music, and play runs on into the following tracks as a disc does.
#pragma once

#include <SDL_mixer.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class CdMusic {
 public:
  // The music of track N's file, or null when it has none that plays.
  using TrackLoader = std::function<Mix_Music*(int track)>;

  // wake: called from the audio thread when a track has ended, so that the
  // reader's thread comes round to Update soon; it must be thread-safe.
  explicit CdMusic(std::function<void()> wake);
  ~CdMusic();
  CdMusic(const CdMusic&) = delete;
  CdMusic& operator=(const CdMusic&) = delete;

  // Plays track N from its start; false (and silence) when it has no file.
  bool Play(int track, const TrackLoader& load_track);
  void Stop();
  // The reader's thread: starts the next track when the current one has ended.
  void Update(const TrackLoader& load_track);
  // The audio thread, after each mixed buffer, with the audio device locked.
  void NoticeEndOfTrack();

  // The track that sounds now, or 0.
  int track() const { return playing_ ? track_ : 0; }

 private:
  struct MusicDeleter {
    void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
  };

  std::function<void()> wake_;
  std::unique_ptr<Mix_Music, MusicDeleter> music_;
  int track_ = 0;
  // Written by the reader's thread only; the audio thread reads it.
  std::atomic<bool> playing_{false};
  // Set by the audio thread once a playing track has run out.
  std::atomic<bool> ended_{false};
};
