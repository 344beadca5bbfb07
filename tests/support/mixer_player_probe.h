// What the real media player sounds, for the tests and benchmarks.
#pragma once

#include "platform/audio/cd_music.h"
#include "platform/audio/midi_music.h"
#include "platform/audio/mixer_player.h"
#include "platform/audio/sound_effects.h"

class MixerPlayerProbe {
 public:
  static bool MidiAvailable(MixerPlayer& player) { return player.ReadyForMidi(); }
  static bool MidiPlaying(MixerPlayer& player) {
    return player.midi_open_ && player.midi_->playing();
  }
  static std::uint64_t MidiBuffersRendered(const MixerPlayer& player) {
    return player.midi_ ? player.midi_->rendered_buffers() : 0;
  }
  static int CdTrack(const MixerPlayer& player) { return player.cd_ ? player.cd_->track() : 0; }
  static SoundSource LastSound(const MixerPlayer& player) {
    return player.sounds_ ? player.sounds_->last_source() : SoundSource::None;
  }
};
