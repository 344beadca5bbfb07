// Speech through speech-dispatcher, the desktop's speech service (Orca's). Its client
// library, libspeechd, is loaded with dlopen when speech is first turned on, so a
// start maps nothing of it; the connection (which may start the service first) is
// opened and spoken through on a thread of its own, so the reader never waits for it.
// The service is a program of its own that may crash, hang or go: a call that it does
// not answer within seconds has its socket shut, and the reader's end waits for the
// thread half a second at most, then leaves it to the process's end.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "platform/speech/speech.h"

class SpeechDispatcher final : public SpeechService {
 public:
  // wake: called from the speaking thread when it has news, to wake the reader's loop.
  explicit SpeechDispatcher(std::function<void()> wake);
  ~SpeechDispatcher() override;
  SpeechDispatcher(const SpeechDispatcher&) = delete;
  SpeechDispatcher& operator=(const SpeechDispatcher&) = delete;

  ErrorOr<void, std::string> Start() override;
  void Say(std::string text_utf8, Utterance kind) override;
  void Silence() override;
  void SetReading(SpeechReading reading) override;
  std::optional<std::string> TakeFailure() override;
  std::optional<std::string> TakeNote() override;

 private:
  friend class SpeakingThread;
  struct Line;  // what the reader shares with the speaking thread, which keeps it alive

  std::shared_ptr<Line> line_;
  std::thread thread_;
};
