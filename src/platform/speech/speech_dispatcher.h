// Speech through speech-dispatcher, the desktop's speech service (Orca's). Its client
// library, libspeechd, is loaded with dlopen when speech is first turned on, so a
// start maps nothing of it; the connection (which may start the service first) is
// opened and spoken through on a thread of its own, so the reader never waits for it.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/speech/speech.h"

class SpeechDispatcher final : public SpeechService {
 public:
  // wake: called from the speaking thread when it failed, to wake the reader's loop.
  explicit SpeechDispatcher(std::function<void()> wake);
  ~SpeechDispatcher() override;
  SpeechDispatcher(const SpeechDispatcher&) = delete;
  SpeechDispatcher& operator=(const SpeechDispatcher&) = delete;

  bool Start(std::string& reason) override;
  void Say(std::string text_utf8, Utterance kind) override;
  void Silence() override;
  std::optional<std::string> TakeFailure() override;

 private:
  struct Library;
  struct Request {
    enum class Kind { Say, Cancel } kind;
    Utterance utterance;
    std::string text_utf8;
  };

  void Run();
  // With the lock held: the next thing to do, once there is one.
  std::optional<Request> NextRequest(std::unique_lock<std::mutex>& lock);
  bool Connect(std::unique_lock<std::mutex>& lock);
  void Fail(std::string reason);  // with the lock held

  const std::function<void()> wake_;
  std::unique_ptr<const Library> library_;  // loaded once, for good
  std::thread thread_;

  std::mutex mutex_;  // guards what follows
  std::condition_variable changed_;
  bool wanted_ = false;  // Start since the last failure
  bool stopping_ = false;
  std::deque<Request> requests_;
  std::optional<std::string> failure_;
  void* connection_ = nullptr;  // the SPDConnection, used by the thread alone
};
