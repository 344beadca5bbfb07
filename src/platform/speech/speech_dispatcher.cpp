// speech-dispatcher through libspeechd, loaded at the first use and spoken to from
// a thread of its own.
#include "platform/speech/speech_dispatcher.h"

#include <speech-dispatcher/libspeechd.h>

#include <cstdlib>
#include <utility>

#include "platform/loaded_library.h"

namespace {

constexpr char LIBRARY_FILE[] = "libspeechd.so.2";
// Utterances waiting for the service; a reader who skips makes many, and a text
// cuts the text before it short anyway.
constexpr std::size_t REQUESTS_MAX = 32;

// libspeechd's reasons run over lines; the reader's warning is one.
std::string OneLine(const char* text) {
  std::string line;
  for (const char* c = text; *c != '\0'; ++c) {
    const bool blank = static_cast<unsigned char>(*c) <= ' ';
    if (!blank) {
      line += *c;
    } else if (!line.empty() && line.back() != ' ') {
      line += ' ';
    }
  }
  while (!line.empty() && (line.back() == ' ' || line.back() == ':')) line.pop_back();
  return line;
}

}  // namespace

struct SpeechDispatcher::Library {
  decltype(&spd_open2) open = nullptr;
  decltype(&spd_close) close = nullptr;
  decltype(&spd_set_language) set_language = nullptr;
  decltype(&spd_say) say = nullptr;
  decltype(&spd_cancel) cancel = nullptr;

  static std::unique_ptr<const Library> Load(std::string& reason) {
    const ErrorOr<LoadedLibrary, std::string> loaded = LoadedLibrary::Load(LIBRARY_FILE);
    if (!loaded) {
      reason = loaded.error();
      return nullptr;
    }
    auto library = std::make_unique<Library>();
    if (loaded->Find("spd_open2", library->open) && loaded->Find("spd_close", library->close) &&
        loaded->Find("spd_set_language", library->set_language) &&
        loaded->Find("spd_say", library->say) && loaded->Find("spd_cancel", library->cancel)) {
      return library;
    }
    reason = std::string(LIBRARY_FILE) + " lacks the calls of speech-dispatcher's client library";
    return nullptr;
  }
};

SpeechDispatcher::SpeechDispatcher(std::function<void()> wake) : wake_(std::move(wake)) {}

SpeechDispatcher::~SpeechDispatcher() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

bool SpeechDispatcher::Start(std::string& reason) {
  if (!library_) library_ = Library::Load(reason);
  if (!library_) return false;
  {
    std::lock_guard lock(mutex_);
    wanted_ = true;
  }
  if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
  changed_.notify_all();
  return true;
}

void SpeechDispatcher::Say(std::string text_utf8, Utterance kind) {
  {
    std::lock_guard lock(mutex_);
    if (!wanted_) return;
    if (kind == Utterance::Text) {
      std::erase_if(requests_, [](const Request& waiting) {
        return waiting.kind == Request::Kind::Say && waiting.utterance == Utterance::Text;
      });
    }
    requests_.push_back({Request::Kind::Say, kind, std::move(text_utf8)});
    if (requests_.size() > REQUESTS_MAX) requests_.pop_front();
  }
  changed_.notify_all();
}

void SpeechDispatcher::Silence() {
  {
    std::lock_guard lock(mutex_);
    requests_.clear();
    if (wanted_) requests_.push_back({Request::Kind::Cancel, Utterance::Text, {}});
  }
  changed_.notify_all();
}

std::optional<std::string> SpeechDispatcher::TakeFailure() {
  std::lock_guard lock(mutex_);
  return std::exchange(failure_, std::nullopt);
}

std::optional<SpeechDispatcher::Request> SpeechDispatcher::NextRequest(
    std::unique_lock<std::mutex>& lock) {
  for (;;) {
    changed_.wait(
        lock, [this] { return stopping_ || (wanted_ && (!connection_ || !requests_.empty())); });
    if (stopping_) return std::nullopt;
    if ((connection_ || Connect(lock)) && !requests_.empty()) {
      Request request = std::move(requests_.front());
      requests_.pop_front();
      return request;
    }
  }
}

// Opens the connection, starting the service when it does not run yet; the lock is
// let go meanwhile, which may take seconds.
bool SpeechDispatcher::Connect(std::unique_lock<std::mutex>& lock) {
  lock.unlock();
  char* error = nullptr;
  SPDConnection* connection =
      library_->open("yomu", "reader", nullptr, SPD_MODE_SINGLE, nullptr, 1, &error);
  if (connection != nullptr) library_->set_language(connection, "ja");
  const std::string reason =
      "speech-dispatcher cannot be reached" + (error != nullptr ? " (" + OneLine(error) + ")" : "");
  std::free(error);
  lock.lock();
  connection_ = connection;
  if (connection == nullptr) Fail(reason);
  return connection != nullptr;
}

void SpeechDispatcher::Run() {
  std::unique_lock lock(mutex_);
  while (std::optional<Request> request = NextRequest(lock)) {
    auto* connection = static_cast<SPDConnection*>(connection_);
    lock.unlock();
    const bool done =
        request->kind == Request::Kind::Cancel
            ? library_->cancel(connection) == 0
            : library_->say(connection,
                            request->utterance == Utterance::Text ? SPD_TEXT : SPD_MESSAGE,
                            request->text_utf8.c_str()) >= 0;
    if (!done) library_->close(connection);
    lock.lock();
    if (!done) {
      connection_ = nullptr;
      Fail("speech-dispatcher stopped answering");
    }
  }
  if (connection_ != nullptr) library_->close(static_cast<SPDConnection*>(connection_));
}

// With the lock held: speech is off until the next Start, and the reader is woken to
// hear of it.
void SpeechDispatcher::Fail(std::string reason) {
  failure_ = std::move(reason);
  wanted_ = false;
  requests_.clear();
  wake_();
}
