// Opening and closing the mixer's audio device. SDL counts the audio subsystem's
// users, so the window's own SDL start-up is not disturbed.
#include "platform/audio/audio_session.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace {

constexpr int CHUNK_FRAMES = 1024;  // about 23 ms: short enough for a sound's start
constexpr int SOUND_CHANNELS = 1;   // WAV sounds cut each other off

// While it lives, standard error goes nowhere: with no device the audio libraries
// (ALSA above all) write a page of their own, where the reader's one line says it all.
class QuietStandardError {
 public:
  QuietStandardError() : saved_(fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0)) {
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    std::fflush(stderr);
    if (saved_ >= 0 && nowhere >= 0) dup2(nowhere, STDERR_FILENO);
    if (nowhere >= 0) close(nowhere);
  }
  ~QuietStandardError() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_;
};

}  // namespace

ErrorOr<void, std::string> AudioSession::Open() {
  const QuietStandardError quiet;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return std::string(SDL_GetError());
  subsystem_ = true;
  if (Mix_OpenAudioDevice(AUDIO_RATE_HZ, AUDIO_S16SYS, AUDIO_CHANNELS, CHUNK_FRAMES, nullptr, 0) !=
      0) {
    return std::string(Mix_GetError());
  }
  device_ = true;
  Mix_AllocateChannels(SOUND_CHANNELS);
  return {};
}

AudioSession::~AudioSession() {
  if (device_) {
    Mix_CloseAudio();
    Mix_Quit();
  }
  if (subsystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}
