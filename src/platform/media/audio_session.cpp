// Opening and closing the mixer's audio device. SDL counts the audio subsystem's
// users, so the window's own SDL start-up is not disturbed.
#include "platform/media/audio_session.h"

#include <SDL.h>
#include <SDL_mixer.h>

namespace {

constexpr int CHUNK_FRAMES = 1024;  // about 23 ms: short enough for a sound's start
constexpr int SOUND_CHANNELS = 1;   // WAV sounds cut each other off

}  // namespace

bool AudioSession::Open(std::string& error) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = SDL_GetError();
    return false;
  }
  subsystem_ = true;
  if (Mix_OpenAudioDevice(AUDIO_RATE_HZ, AUDIO_S16SYS, AUDIO_CHANNELS, CHUNK_FRAMES, nullptr, 0) != 0) {
    error = Mix_GetError();
    return false;
  }
  device_ = true;
  Mix_AllocateChannels(SOUND_CHANNELS);
  return true;
}

AudioSession::~AudioSession() {
  if (device_) {
    Mix_CloseAudio();
    Mix_Quit();
  }
  if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
