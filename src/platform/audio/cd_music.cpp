// CD tracks as streamed music files. The end of a track is noticed on the audio
// thread (SDL_mixer's finished hook has no user pointer, so it is not used) and
// the next track is started on the reader's thread in Update, which the window's
// message loop calls after the wake-up that the audio thread asks for.
#include "platform/audio/cd_music.h"

#include <utility>


CdMusic::CdMusic(std::function<void()> wake) : wake_(std::move(wake)) {}

CdMusic::~CdMusic() { Stop(); }

bool CdMusic::Play(int track, const TrackLoader& load_track) {
  Stop();
  // The music streams from the file; only a decoder's buffers live in memory.
  music_.reset(load_track(track));
  if (!music_ || Mix_PlayMusic(music_.get(), 0) != 0) {
    music_.reset();
    return false;
  }
  track_ = track;
  // The audio thread only looks while playing_ is set, so an end noticed for the
  // previous track cannot leak into this one.
  ended_ = false;
  playing_ = true;
  return true;
}

void CdMusic::Stop() {
  playing_ = false;
  Mix_HaltMusic();
  music_.reset();
  ended_ = false;
  track_ = 0;
}

void CdMusic::Update(const TrackLoader& load_track) {
  if (!playing_ || !ended_.exchange(false)) return;
  const int next = track_ + 1;
  Play(next, load_track);  // past the last track the disc falls silent
}

void CdMusic::NoticeEndOfTrack() {
  if (!playing_ || ended_) return;
  if (Mix_PlayingMusic()) return;
  ended_ = true;
  if (wake_) wake_();
}
