// Self-voicing in the platform: on and off, and each utterance recorded and said.
#include "platform/calls/speech_calls.h"

#include "platform/log_text.h"
#include "platform/platform.h"
#include "platform/translation.h"

bool StartSpeech(Platform& platform) {
  Speech& speech = platform.speech;
  if (!speech.service) {
    speech.on = true;
    return true;
  }
  if (const ErrorOr<void, std::string> started = speech.service->Start(); !started) {
    platform.Warn(Formatted(_("no speech: %s"), started.error()));
    return false;
  }
  speech.on = true;
  return true;
}

void StopSpeech(Platform& platform) {
  platform.speech.on = false;
  if (platform.speech.service) platform.speech.service->Silence();
}

void Speak(Platform& platform, std::string_view text_utf8, Utterance kind) {
  if (!platform.speech.on) return;
  platform.backend.Record("speak " + OneLogLine(text_utf8));
  if (platform.speech.service) platform.speech.service->Say(std::string(text_utf8), kind);
}

void CheckSpeech(Platform& platform) {
  Speech& speech = platform.speech;
  if (!speech.service) return;
  if (const std::optional<std::string> note = speech.service->TakeNote()) platform.Warn(*note);
  const std::optional<std::string> failure = speech.service->TakeFailure();
  if (!failure) return;
  platform.Warn(Formatted(_("no speech: %s"), *failure));
  if (!speech.on) return;
  speech.on = false;
  speech.lost_reason = *failure;
  if (platform.window) PostMessageA(*platform.window, WM_SPEECH_LOST, 0, 0);
}
