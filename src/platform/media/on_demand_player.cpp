// The player that loads the audio module at the first command that can sound, or
// ahead of it. Until then, and for good when the module cannot be loaded, the device
// states follow the module's player: the CD device opens and closes, MIDI never
// opens, nothing sounds.
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

OnDemandPlayer::~OnDemandPlayer() {
  if (soundfont_loading_.valid()) soundfont_loading_.wait();
  player_.reset();
}

// Runs on the loading thread: nothing here reaches the reader's platform.
OnDemandPlayer::Loaded OnDemandPlayer::Load(const AudioPlayerRequest& request,
                                            const std::vector<std::string>& places, bool midi) {
  Loaded loaded;
  ErrorOr<std::unique_ptr<AudioModule>, std::string> module = AudioModule::Load(places);
  if (!module) {
    loaded.warnings_utf8.push_back(
        Formatted(_("no sound module (%s); the novel stays silent"), module.error()));
    return loaded;
  }
  loaded.module = module.release_value();
  AudioPlayerReply reply;
  loaded.module->factory()(request, reply);
  if (!reply.player) {
    loaded.warnings_utf8.push_back(
        Formatted(_("no sound (%s); the novel stays silent"), reply.error));
    return loaded;
  }
  if (!reply.soundfont_found) {
    loaded.warnings_utf8.push_back(_("no General MIDI soundfont found; MIDI music stays silent"));
  }
  loaded.player = std::move(reply.player);
  loaded.player->LoadAhead(midi);
  return loaded;
}

bool OnDemandPlayer::Ready() {
  if (player_ || tried_) return player_ != nullptr;
  tried_ = true;
  Loaded loaded = loading_.valid() ? loading_.get() : Load(request_, places_, false);
  for (const std::string& warning : loaded.warnings_utf8) {
    if (request_.warn) request_.warn(warning);
  }
  module_ = std::move(loaded.module);
  player_ = std::move(loaded.player);
  if (player_) player_->SetLevel(level_percent_);
  return player_ != nullptr;
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

void OnDemandPlayer::ReaderWaits() {
  if (player_) player_->ReaderWaits();
}

void OnDemandPlayer::LoadAhead(bool midi) {
  expected_ = true;
  expected_midi_ = expected_midi_ || midi;
}

void OnDemandPlayer::Update(Volume& volume) {
  if (expected_ && !tried_ && !loading_.valid()) {
    midi_ahead_ = expected_midi_;
    loading_ = std::async(std::launch::async, &OnDemandPlayer::Load, request_, places_, midi_ahead_);
  } else if (player_ && expected_midi_ && !std::exchange(midi_ahead_, true)) {
    // The player came with a sound before MIDI was expected: its soundfont still
    // loads ahead, under the player's own lock against its first MIDI file.
    soundfont_loading_ = std::async(std::launch::async, [player = player_.get()] {
      player->LoadAhead(true);
    });
  }
  if (player_) player_->Update(volume);
}
