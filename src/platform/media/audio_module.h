// The audio module: the real media player (SDL2_mixer, FluidSynth and the audio
// decoders) built as a shared module of its own, yomu-audio.so, which the program
// loads at its first sound. A start then maps none of the audio libraries, and a
// system without them still reads novels, in silence.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/error_or.h"
#include "platform/media/media_player.h"

constexpr char AUDIO_MODULE_FILE[] = "yomu-audio.so";
// The one function the module exports, of type AudioPlayerFactory.
constexpr char AUDIO_MODULE_FACTORY[] = "yomu_make_audio_player";

struct AudioPlayerRequest {
  std::string program_version;  // a module of another build refuses to make a player
  std::optional<std::string> soundfont_file;  // overrides the search for a GM soundfont
  WarningSink warn;                           // what keeps the player silent
};

struct AudioPlayerReply {
  std::unique_ptr<MediaPlayer> player;  // null when none could be made
  std::string error;                    // then why
  bool soundfont_found = false;         // MIDI music can sound
};

using AudioPlayerFactory = void(const AudioPlayerRequest& request, AudioPlayerReply& reply);

// The files looked at, in order: beside the program (the build tree), then in the
// module folder of the install prefix, which relative_module_dir names from the
// program's folder ("../lib/yomu").
std::vector<std::string> AudioModulePlaces(const std::string& program_directory,
                                           const std::string& relative_module_dir);
// The same for the running program.
std::vector<std::string> AudioModulePlaces();

// A loaded module. It stays mapped until the process ends: its libraries start
// threads and register exit handlers that must outlive any unloading.
class AudioModule {
 public:
  // The first of places that loads and has the factory; nothing and the reasons
  // (one per place, joined) when none does.
  static ErrorOr<std::unique_ptr<AudioModule>, std::string> Load(
      const std::vector<std::string>& places);
  ~AudioModule();
  AudioModule(const AudioModule&) = delete;
  AudioModule& operator=(const AudioModule&) = delete;

  AudioPlayerFactory& factory() const { return *factory_; }

 private:
  AudioModule(void* handle, AudioPlayerFactory* factory) : handle_(handle), factory_(factory) {}
  void* handle_;
  AudioPlayerFactory* factory_;
};
