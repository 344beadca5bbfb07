// The audio device opened through SDL_mixer for one player, closed with it.
#pragma once

#include <string>

#include "platform/error_or.h"

constexpr int AUDIO_RATE_HZ = 44100;  // the rate of CD audio
constexpr int AUDIO_CHANNELS = 2;

class AudioSession {
 public:
  AudioSession() = default;
  ~AudioSession();
  AudioSession(const AudioSession&) = delete;
  AudioSession& operator=(const AudioSession&) = delete;

  // Opens the device in 16-bit stereo at AUDIO_RATE_HZ exactly (SDL converts for
  // the hardware), so that the MIDI mix and the chime know the format; false with
  // the reason when there is no device.
  ErrorOr<void, std::string> Open();

 private:
  bool subsystem_ = false;
  bool device_ = false;
};
