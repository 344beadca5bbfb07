// The one function that the audio module exports: the real media player, made for
// the program that loaded the module. Built only into yomu-audio.so.
#include <memory>
#include <type_traits>

#include "platform/audio/mixer_player.h"
#include "platform/media/audio_module.h"

extern "C" __attribute__((visibility("default"))) void yomu_make_audio_player(
    const AudioPlayerRequest& request, AudioPlayerReply& reply) {
  // The player shares the program's objects (the novel's volume), so both must be one build.
  if (request.program_version != YOMU_VERSION) {
    reply.error = "the sound module is of yomu " YOMU_VERSION;
    return;
  }
  // The device opens at the first sound, so that a device that is missing is said then.
  ErrorOr<std::unique_ptr<MixerPlayer>, std::string> player =
      MixerPlayer::Create({request.soundfont_file, true, request.warn});
  if (!player) {
    reply.error = player.error();
    return;
  }
  reply.soundfont_found = (*player)->soundfont_path().has_value();
  reply.player = player.release_value();
}

// The factory's type is the one the program calls it by.
static_assert(std::is_same_v<decltype(yomu_make_audio_player), AudioPlayerFactory>);
