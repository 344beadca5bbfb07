// The media player of the real window. Commands that cannot sound (opening and
// stopping the CD device, closing MIDI) are answered here; the audio module is
// loaded at the first that can, or ahead of it on a thread of its own once a script
// that sounds is loaded and the reader waits for input, and every call from then on
// is its player's.
#pragma once

#include <future>
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
  // Also starts the load that LoadAhead asked for: the reader waits for input, so
  // the page it shows is up.
  void Update(Volume& volume) override;
  void SetLevel(int percent) override;
  void LoadAhead(bool midi) override;
  void ReaderWaits() override;
  bool WorkWaits() override { return player_ && player_->WorkWaits(); }

 private:
  // The module and its player, or why there are none, in the warnings that the
  // first sound gives.
  struct Loaded {
    std::unique_ptr<AudioModule> module;
    std::unique_ptr<MediaPlayer> player;  // goes before the module whose code it is
    std::vector<std::string> warnings_utf8;
  };
  static Loaded Load(const AudioPlayerRequest& request, const std::vector<std::string>& places,
                     bool midi);
  // Loads the module and makes its player, once, or takes them from the load ahead
  // (waiting for it to end); says in one warning why the novel stays silent when
  // that fails.
  bool Ready();
  // The answers of a player that has no device, with the same device states.
  DWORD RunSilently(const MediaCommand& command);

  const AudioPlayerRequest request_;
  const std::vector<std::string> places_;
  bool tried_ = false;
  bool cd_open_ = false;  // "open cdaudio" before the player was made
  int level_percent_ = 100;  // given to the player when it is made
  bool expected_ = false;       // a loaded script sounds
  bool expected_midi_ = false;  // with MIDI music
  bool midi_ahead_ = false;     // the soundfont's load ahead has started
  std::future<Loaded> loading_;  // the load ahead, while its result is not taken
  // The player goes before the module whose code it is, and after its soundfont's load.
  std::unique_ptr<AudioModule> module_;
  std::unique_ptr<MediaPlayer> player_;
  std::future<void> soundfont_loading_;
};
