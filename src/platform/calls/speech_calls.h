// Speech over the platform: turned on and off, each utterance recorded and said, and
// the service's failures told to the reader and the window.
#pragma once

#include <string_view>

#include "platform/speech/speech.h"

class Platform;

// Turns speech on; false, with one line on standard error, when it cannot be.
bool StartSpeech(Platform& platform);
void StopSpeech(Platform& platform);
// While speech is on: the record "speak TEXT", and the service says it.
void Speak(Platform& platform, std::string_view text_utf8, Utterance kind);
// On the reader's thread after the service woke it: a note is told in one line; a
// failure turns speech off, says why in one line, and tells the window with
// WM_SPEECH_LOST, which shows why.
void CheckSpeech(Platform& platform);
