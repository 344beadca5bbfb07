// Self-voicing.
#include "app/self_voicing.h"

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

// The reader who hears nothing more learns why in the window, once for each reason.
void OnSpeechLost(Reader& r, Window& window) {
  ClearSpeechIndicator(r, window);
  const std::string& reason = r.platform.speech.lost_reason;
  if (r.platform.FirstTime("speech lost " + reason)) {
    ShowMessage(r.platform, Formatted(_("Speech is off: %s."), reason));
  }
}
