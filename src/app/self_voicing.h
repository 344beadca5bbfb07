// Self-voicing: V turns speech on and off, and the status strip shows it while it
// is on. Where there is no speech service, the key says so once and does nothing else.
#pragma once

struct Reader;
class Window;

void ToggleSpeech(Reader& r, Window& window);
// The settings' "speech-reading" (auto, kana or text) handed to the service; a value
// that is none of them is told of and the service chooses by its voice.
void RecallSpeechReading(Reader& r);
// WM_SPEECH_LOST: the service failed, and speech went off by itself.
void OnSpeechLost(Reader& r, Window& window);
