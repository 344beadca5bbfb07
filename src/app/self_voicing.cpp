// Self-voicing.
#include "app/self_voicing.h"

#include "platform/calls/speech_calls.h"
#include "platform/translation.h"
#include "reader/reader.h"
#include "render/status_strip.h"
#include "script/text_outlets.h"

void ToggleSpeech(Reader& r, Window& window) {
  if (r.platform.speech.on) {
    StopSpeech(r.platform);
    ClearSpeechIndicator(r, window);
    return;
  }
  if (!StartSpeech(r.platform)) return;
  ShowSpeechIndicator(r, window);
  // What is on the page is what the reader wants to hear first.
  RepeatNewestParagraph(r);
}

void RecallSpeechReading(Reader& r) {
  constexpr char SETTING[] = "speech-reading";
  const std::optional<std::string> value = r.aids.settings.Get(SETTING);
  if (!value || !r.platform.speech.service) return;
  const SpeechReading reading = *value == "kana"   ? SpeechReading::Kana
                                : *value == "text" ? SpeechReading::Text
                                                   : SpeechReading::Auto;
  if (reading == SpeechReading::Auto && *value != "auto") {
    r.platform.Warn(
        Formatted(_("the setting %s takes auto, kana or text, not %s"), SETTING, *value));
  }
  r.platform.speech.service->SetReading(reading);
}

// The reader who hears nothing more learns why in the window, once for each reason.
void OnSpeechLost(Reader& r, Window& window) {
  ClearSpeechIndicator(r, window);
  const std::string& reason = r.platform.speech.lost_reason;
  if (r.platform.FirstTime("speech lost " + reason)) {
    ShowMessage(r.platform, Formatted(_("Speech is off: %s."), reason));
  }
}
