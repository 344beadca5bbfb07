// The media player of the real window. Commands that cannot sound (opening and
// stopping the CD device, closing MIDI) are answered here; the audio module is
// loaded at the first that can, and every call from then on is its player's.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/media/audio_module.h"
#include "platform/media/media_player.h"

class OnDemandPlayer final : public MediaPlayer {
 public:
  // places: where the module is looked for (AudioModulePlaces()).
  OnDemandPlayer(AudioPlayerRequest request, std::vector<std::string> places);
  ~OnDemandPlayer() override;
  OnDemandPlayer(const OnDemandPlayer&) = delete;
  OnDemandPlayer& operator=(const OnDemandPlayer&) = delete;

  DWORD Run(const MediaCommand& command, Volume& volume) override;
  void PlaySound(const char* name_sjis, Volume& volume) override;
  void Update(Volume& volume) override;
  void SetLevel(int percent) override;

 private:
  // Loads the module and makes its player, once; says in one warning why the novel
  // stays silent when that fails.
  bool Ready();
  void Warn(const std::string& text_utf8) const;
  // The answers of a player that has no device, with the same device states.
  DWORD RunSilently(const MediaCommand& command);

  const AudioPlayerRequest request_;
  const std::vector<std::string> places_;
  bool tried_ = false;
  bool cd_open_ = false;  // "open cdaudio" before the player was made
  int level_percent_ = 100;  // given to the player when it is made
  // The player goes before the module whose code it is.
  std::unique_ptr<AudioModule> module_;
  std::unique_ptr<MediaPlayer> player_;
};
