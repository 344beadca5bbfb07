// Self-voicing.
#include "app/self_voicing.h"

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

void OnSpeechLost(Reader& r, Window& window) { ClearSpeechIndicator(r, window); }
