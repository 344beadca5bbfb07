// speech-dispatcher through libspeechd, loaded at the first use and spoken to from a
// thread of its own, with deadlines on a service that does not answer.
#include "platform/speech/speech_dispatcher.h"

#include <pthread.h>
#include <signal.h>
#include <speech-dispatcher/libspeechd.h>
#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <utility>

#include "platform/loaded_library.h"
#include "platform/speech/kana_reading.h"
#include "platform/translation.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr char LIBRARY_FILE[] = "libspeechd.so.2";
// Utterances waiting for the service; a reader who skips makes many, and a text
// cuts the text before it short anyway.
constexpr std::size_t REQUESTS_MAX = 32;
// A service queues what it is given at once: a call unanswered this long is stuck.
constexpr auto ANSWER_DEADLINE = std::chrono::seconds(2);
// How long the reader's end waits for the speaking thread, and then for its call to
// return once its socket is shut.
constexpr auto END_WAIT = std::chrono::milliseconds(400);
constexpr auto CUT_OFF_WAIT = std::chrono::milliseconds(100);

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

struct Calls {
  decltype(&spd_open2) open = nullptr;
  decltype(&spd_close) close = nullptr;
  decltype(&spd_set_language) set_language = nullptr;
  decltype(&spd_get_output_module) output_module = nullptr;
  decltype(&spd_say) say = nullptr;
  decltype(&spd_cancel) cancel = nullptr;

  // The library's calls; it stays loaded for good once it is.
  static ErrorOr<Calls, std::string> Load() {
    const LoadedLibrary library = TRY(LoadedLibrary::Load(LIBRARY_FILE));
    Calls calls;
    if (library.Find("spd_open2", calls.open) && library.Find("spd_close", calls.close) &&
        library.Find("spd_set_language", calls.set_language) &&
        library.Find("spd_get_output_module", calls.output_module) &&
        library.Find("spd_say", calls.say) && library.Find("spd_cancel", calls.cancel)) {
      return calls;
    }
    return std::string(LIBRARY_FILE) + " lacks the calls of speech-dispatcher's client library";
  }
};

struct Request {
  enum class Kind { Say, Cancel } kind;
  Utterance utterance;
  std::string text_utf8;
};

// eSpeak NG's Japanese voice, and eSpeak's, read kana and name each kanji.
bool ReadsKanaOnly(const char* module) {
  return module != nullptr && std::string_view(module).find("espeak") != std::string_view::npos;
}

}  // namespace

struct SpeechDispatcher::Line {
  explicit Line(std::function<void()> wake_in) : wake(std::move(wake_in)) {}

  // With the lock held: speech is off until the next Start, and the reader is woken to
  // hear of it.
  void Fail(std::string reason) {
    failure = std::move(reason);
    wanted = false;
    requests.clear();
    Wake();
  }
  // With the lock held: a reader that is ending is woken no more.
  void Wake() {
    if (!stopping) wake();
  }
  // With the lock held: a call that the service leaves unanswered has its socket
  // shut, so that the call returns and the thread reads on.
  void CutOffWhenStuck(bool at_once) {
    if (connection == nullptr || !calling_since) return;
    if (!at_once && Clock::now() - *calling_since < ANSWER_DEADLINE) return;
    shutdown(connection->socket, SHUT_RDWR);
    cut_off = true;
  }

  const std::function<void()> wake;
  std::optional<Calls> calls;  // set before the thread starts, read-only after

  std::mutex mutex;  // guards what follows
  std::condition_variable changed;
  bool wanted = false;  // Start since the last failure
  bool stopping = false;
  bool ended = false;  // the thread has nothing more to do
  SpeechReading reading = SpeechReading::Auto;
  std::deque<Request> requests;
  std::optional<std::string> failure;
  std::optional<std::string> note;
  SPDConnection* connection = nullptr;
  std::optional<Clock::time_point> calling_since;  // while the thread waits for the service
  bool cut_off = false;

  // The thread's own.
  bool kana = false;
  std::unique_ptr<KanaReading> kana_reading;
};

// The thread's side: it holds the line, so that a reader that ended without waiting
// for it leaves nothing that it still uses.
class SpeakingThread {
 public:
  static void Run(std::shared_ptr<SpeechDispatcher::Line> line) {
    std::unique_lock lock(line->mutex);
    SpeakingThread thread(*line);
    while (std::optional<Request> request = thread.NextRequest(lock)) thread.Serve(*request, lock);
    if (line->connection != nullptr) {
      SPDConnection* connection = std::exchange(line->connection, nullptr);
      lock.unlock();
      line->calls->close(connection);
      lock.lock();
    }
    line->ended = true;
    line->changed.notify_all();
  }

 private:
  explicit SpeakingThread(SpeechDispatcher::Line& line) : line_(line) {}

  // With the lock held: the next thing to do, once there is one.
  std::optional<Request> NextRequest(std::unique_lock<std::mutex>& lock) {
    for (;;) {
      line_.changed.wait(lock, [this] {
        return line_.stopping || (line_.wanted && (!line_.connection || !line_.requests.empty()));
      });
      if (line_.stopping) return std::nullopt;
      if ((line_.connection || Connect(lock)) && !line_.requests.empty()) {
        Request request = std::move(line_.requests.front());
        line_.requests.pop_front();
        return request;
      }
    }
  }

  // Opens the connection, starting the service when it does not run yet, and asks
  // which voice speaks; the lock is let go meanwhile, which may take seconds.
  bool Connect(std::unique_lock<std::mutex>& lock) {
    const SpeechReading reading = line_.reading;
    lock.unlock();
    const Calls& calls = *line_.calls;
    char* error = nullptr;
    SPDConnection* connection =
        calls.open("yomu", "reader", nullptr, SPD_MODE_SINGLE, nullptr, 1, &error);
    const std::string reason = _("speech-dispatcher cannot be reached") +
                               (error != nullptr ? " (" + OneLine(error) + ")" : std::string());
    std::free(error);
    std::optional<std::string> note;
    if (connection != nullptr) {
      calls.set_language(connection, "ja");
      char* module = calls.output_module(connection);
      line_.kana = reading == SpeechReading::Kana ||
                   (reading == SpeechReading::Auto && ReadsKanaOnly(module));
      std::free(module);
      if (line_.kana && !line_.kana_reading) note = LoadKana();
    }
    lock.lock();
    line_.connection = connection;
    line_.cut_off = false;
    if (note) {
      line_.note = std::move(note);
      line_.Wake();
    }
    if (connection == nullptr) line_.Fail(reason);
    return connection != nullptr;
  }

  // MeCab for the voice that reads kana alone; why the kanji go as written without it.
  std::optional<std::string> LoadKana() {
    auto loaded = KanaReading::Load();
    if (loaded) {
      line_.kana_reading = std::move(*loaded);
      return std::nullopt;
    }
    line_.kana = false;
    return Formatted(_("speech reads kanji as written, which this voice names letter by "
                       "letter: MeCab cannot be loaded (%s)"),
                     loaded.error());
  }

  void Serve(const Request& request, std::unique_lock<std::mutex>& lock) {
    SPDConnection* connection = line_.connection;
    line_.calling_since = Clock::now();
    lock.unlock();
    const Calls& calls = *line_.calls;
    bool done = false;
    if (request.kind == Request::Kind::Cancel) {
      done = calls.cancel(connection) == 0;
    } else {
      const std::string text =
          line_.kana ? line_.kana_reading->Of(request.text_utf8) : request.text_utf8;
      const SPDPriority priority = request.utterance == Utterance::Text ? SPD_TEXT : SPD_MESSAGE;
      done = calls.say(connection, priority, text.c_str()) >= 0;
    }
    if (!done) calls.close(connection);
    lock.lock();
    line_.calling_since.reset();
    if (done) return;
    line_.connection = nullptr;
    line_.Fail(line_.cut_off ? _("speech-dispatcher stopped answering")
                             : _("speech-dispatcher went away"));
  }

  SpeechDispatcher::Line& line_;
};

SpeechDispatcher::SpeechDispatcher(std::function<void()> wake)
    : line_(std::make_shared<Line>(std::move(wake))) {}

SpeechDispatcher::~SpeechDispatcher() {
  if (!thread_.joinable()) return;
  std::unique_lock lock(line_->mutex);
  line_->stopping = true;
  line_->changed.notify_all();
  if (!line_->changed.wait_for(lock, END_WAIT, [this] { return line_->ended; })) {
    line_->CutOffWhenStuck(true);
    line_->changed.wait_for(lock, CUT_OFF_WAIT, [this] { return line_->ended; });
  }
  const bool ended = line_->ended;
  lock.unlock();
  // A thread still in the service's hands (opening a connection that starts it, say)
  // holds the line and is left to the process's end.
  if (ended) {
    thread_.join();
  } else {
    thread_.detach();
  }
}

ErrorOr<void, std::string> SpeechDispatcher::Start() {
  if (!line_->calls) line_->calls = TRY(Calls::Load());
  {
    std::lock_guard lock(line_->mutex);
    line_->wanted = true;
  }
  if (!thread_.joinable()) {
    // The thread takes no signal meant for the reader.
    sigset_t all, before;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &before);
    thread_ = std::thread(&SpeakingThread::Run, line_);
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
  }
  line_->changed.notify_all();
  return {};
}

void SpeechDispatcher::Say(std::string text_utf8, Utterance kind) {
  {
    std::lock_guard lock(line_->mutex);
    line_->CutOffWhenStuck(false);
    if (!line_->wanted) return;
    if (kind == Utterance::Text) {
      std::erase_if(line_->requests, [](const Request& waiting) {
        return waiting.kind == Request::Kind::Say && waiting.utterance == Utterance::Text;
      });
    }
    line_->requests.push_back({Request::Kind::Say, kind, std::move(text_utf8)});
    if (line_->requests.size() > REQUESTS_MAX) line_->requests.pop_front();
  }
  line_->changed.notify_all();
}

void SpeechDispatcher::Silence() {
  {
    std::lock_guard lock(line_->mutex);
    line_->CutOffWhenStuck(false);
    line_->requests.clear();
    if (line_->wanted) line_->requests.push_back({Request::Kind::Cancel, Utterance::Text, {}});
  }
  line_->changed.notify_all();
}

void SpeechDispatcher::SetReading(SpeechReading reading) {
  std::lock_guard lock(line_->mutex);
  line_->reading = reading;
}

std::optional<std::string> SpeechDispatcher::TakeFailure() {
  std::lock_guard lock(line_->mutex);
  return std::exchange(line_->failure, std::nullopt);
}

std::optional<std::string> SpeechDispatcher::TakeNote() {
  std::lock_guard lock(line_->mutex);
  return std::exchange(line_->note, std::nullopt);
}
