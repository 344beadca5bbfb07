// The media calls. Every call is recorded; the platform's player, when there is
// one, then carries it out.
#include "platform/calls/media_calls.h"

#include <cstdio>
#include <string>

#include "platform/media/media_commands.h"
#include "platform/platform.h"

DWORD mciSendStringA(Platform& platform, const char* command_sjis, char* reply, UINT reply_size,
                     Window*) {
  if (reply != nullptr && reply_size > 0) reply[0] = '\0';
  if (command_sjis == nullptr) return MCIERR_UNRECOGNIZED_COMMAND;
  platform.backend.Record("mci " + platform.shift_jis.ToUtf8(command_sjis));
  if (!platform.media) return 0;
  const std::optional<MediaCommand> command = ParseMediaCommand(command_sjis);
  if (!command) return MCIERR_UNRECOGNIZED_COMMAND;
  return platform.media->Run(*command, *platform.volume);
}

void SetSoundLevel(Platform& platform, int percent) {
  if (platform.media) platform.media->SetLevel(percent);
}

void ExpectSound(Platform& platform, bool midi) {
  if (platform.media) platform.media->LoadAhead(midi);
}

bool sndPlaySoundA(Platform& platform, const char* name_sjis, UINT flags) {
  char flags_text[16];
  std::snprintf(flags_text, sizeof flags_text, " %u", flags);
  const std::string name_utf8 =
      name_sjis != nullptr ? platform.shift_jis.ToUtf8(name_sjis) : std::string();
  platform.backend.Record("sound " + name_utf8 + flags_text);
  if (platform.media) platform.media->PlaySound(name_sjis, *platform.volume);
  return true;
}
