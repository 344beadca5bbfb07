// The media calls over the platform's player and volume: command strings for CD audio and
// MIDI music, and WAV sounds.
#pragma once

#include "platform/win32_types.h"

class Platform;
class Window;

constexpr UINT SND_ASYNC = 0x0001;

// Sends one media command string; the reply, if any, goes to reply (size bytes).
DWORD mciSendStringA(Platform& platform, const char* command_sjis, char* reply, UINT reply_size,
                     Window* callback);
bool sndPlaySoundA(Platform& platform, const char* name_sjis, UINT flags);
// The level that music and sounds play at together, 0 to 100: the reader's own
// volume, beside the system's.
void SetSoundLevel(Platform& platform, int percent);
// The script just loaded holds lines that sound, MIDI music among them when midi is
// set; the player may make ready for them ahead, away from the reader's thread.
void ExpectSound(Platform& platform, bool midi);
