// The media calls: command strings for CD audio and MIDI music, and WAV sounds.
#pragma once

#include "platform/win32_types.h"

class Platform;
class Window;

constexpr UINT SND_ASYNC = 0x0001;

// Sends one media command string; the reply, if any, goes to reply (size bytes).
DWORD mciSendStringA(Platform& platform, const char* command_sjis, char* reply, UINT reply_size,
                     Window* callback);
bool sndPlaySoundA(Platform& platform, const char* name_sjis, UINT flags);
