// The media calls. Every command is recorded; playback arrives with the sound layer.
#include "platform/media/media.h"

#include <cstdio>
#include <string>

#include "platform/platform.h"

DWORD mciSendStringA(Platform& platform, const char* command_sjis, char* reply, UINT reply_size,
                     Window*) {
  if (reply != nullptr && reply_size > 0) reply[0] = '\0';
  platform.backend.Record("mci " + platform.shift_jis.ToUtf8(command_sjis));
  return 0;
}

bool sndPlaySoundA(Platform& platform, const char* name_sjis, UINT flags) {
  char flags_text[16];
  std::snprintf(flags_text, sizeof flags_text, " %u", flags);
  platform.backend.Record("sound " + platform.shift_jis.ToUtf8(name_sjis) + flags_text);
  return true;
}
