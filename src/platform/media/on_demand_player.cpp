// The player that loads the audio module at the first command that can sound. Until
// then, and for good when the module cannot be loaded, the device states follow the
// module's player: the CD device opens and closes, MIDI never opens, nothing sounds.
#include "platform/media/on_demand_player.h"

#include <utility>

#include "platform/translation.h"

namespace {

bool CanSound(const MediaCommand& command, bool cd_open) {
  return command.verb == MediaVerb::OpenMidi || (command.verb == MediaVerb::PlayCdFrom && cd_open);
}

}  // namespace

OnDemandPlayer::OnDemandPlayer(AudioPlayerRequest request, std::vector<std::string> places)
    : request_(std::move(request)), places_(std::move(places)) {}

OnDemandPlayer::~OnDemandPlayer() { player_.reset(); }

void OnDemandPlayer::Warn(const std::string& text_utf8) const {
  if (request_.warn) request_.warn(text_utf8);
}

bool OnDemandPlayer::Ready() {
  if (player_ || tried_) return player_ != nullptr;
  tried_ = true;
  std::string error;
  module_ = AudioModule::Load(places_, error);
  if (!module_) {
    Warn(Formatted(_("no sound module (%s); the novel stays silent"), error));
    return false;
  }
  AudioPlayerReply reply;
  module_->factory()(request_, reply);
  if (!reply.player) {
    Warn(Formatted(_("no sound (%s); the novel stays silent"), reply.error));
    return false;
  }
  if (!reply.soundfont_found) {
    Warn("no General MIDI soundfont found; MIDI music stays silent");
  }
  player_ = std::move(reply.player);
  player_->SetLevel(level_percent_);
  return true;
}

DWORD OnDemandPlayer::Run(const MediaCommand& command, Volume& volume) {
  if (!player_ && CanSound(command, cd_open_) && Ready() && cd_open_) {
    player_->Run({MediaVerb::OpenCd, 0, {}}, volume);  // the device opened before the player
  }
  return player_ ? player_->Run(command, volume) : RunSilently(command);
}

DWORD OnDemandPlayer::RunSilently(const MediaCommand& command) {
  switch (command.verb) {
    case MediaVerb::OpenCd:
    case MediaVerb::CloseCd:
    case MediaVerb::SetCdTimeFormat:
    case MediaVerb::PlayCdFrom:
    case MediaVerb::StopCd:
      return CdDeviceAnswer(command.verb, cd_open_);
    case MediaVerb::OpenMidi:
      return MCIERR_FILE_NOT_FOUND;
    case MediaVerb::SeekMidiStart:
    case MediaVerb::PlayMidi:
    case MediaVerb::CloseMidi:
      return MCIERR_INVALID_DEVICE_NAME;
  }
  return MCIERR_UNRECOGNIZED_COMMAND;
}

void OnDemandPlayer::SetLevel(int percent) {
  level_percent_ = percent;
  if (player_) player_->SetLevel(percent);
}

void OnDemandPlayer::PlaySound(const char* name_sjis, Volume& volume) {
  // A null name only stops what plays, and before the module nothing does.
  if (player_ || (name_sjis != nullptr && Ready())) player_->PlaySound(name_sjis, volume);
}

void OnDemandPlayer::Update(Volume& volume) {
  if (player_) player_->Update(volume);
}
