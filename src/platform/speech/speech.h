// Self-voicing: the reader's texts spoken by the desktop's speech service. The
// platform keeps whether it is on, so that the real window's menus speak as the
// page does. The headless runner has no service: there each utterance is recorded
// ("speak TEXT") and nothing sounds.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/error_or.h"
#include "platform/win32_types.h"


// How the texts reach the voice: as written, or as they are pronounced, in kana, for a
// voice that reads kana but names each kanji; by itself, as the voice is.
enum class SpeechReading { Auto, Text, Kana };

enum class Utterance {
  Text,     // cut short by the next text: a paragraph, the item under the highlight
  Message,  // said whole, in its turn: each choice of a list
};

// What speaks. Nothing of a service may keep the reader waiting.
class SpeechService {
 public:
  virtual ~SpeechService() = default;
  // Makes ready to speak; why not, when the service cannot be had at all.
  virtual ErrorOr<void, std::string> Start() = 0;
  virtual void Say(std::string text_utf8, Utterance kind) = 0;
  // Stops what is said and drops what waits.
  virtual void Silence() = 0;
  virtual void SetReading(SpeechReading) {}
  // Why the service stopped speaking since it was started, once; nullopt while it speaks.
  virtual std::optional<std::string> TakeFailure() = 0;
  // What the reader should know while speech goes on (kanji said as written), once.
  virtual std::optional<std::string> TakeNote() { return std::nullopt; }
};

// Posted to the window when speech went off by itself (the service failed).
constexpr UINT WM_SPEECH_LOST = 0x8001;  // the first message of the application's range, and one

struct Speech {
  bool on = false;
  std::unique_ptr<SpeechService> service;  // null: utterances are only recorded
  std::string lost_reason;                 // why speech went off by itself, for the window to say
};
