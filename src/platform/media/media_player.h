// What makes the media commands audible. The reader reaches it only through
// mciSendStringA and sndPlaySoundA; a platform without one (the headless runner)
// accepts every command and plays nothing.
#pragma once

#include <functional>
#include <string>

#include "platform/media/media_commands.h"
#include "platform/win32_types.h"

// Results of the old media interface, for the commands that fail.
constexpr DWORD MCIERR_UNRECOGNIZED_COMMAND = 261;
constexpr DWORD MCIERR_INVALID_DEVICE_NAME = 263;  // the device or alias is not open
constexpr DWORD MCIERR_DEVICE_OPEN = 265;
constexpr DWORD MCIERR_FILE_NOT_FOUND = 275;

// The CD device as the old media interface keeps it, for every player: the error a
// CD command finds in the device's state, or 0 when it goes on, and the state it
// leaves. "open cdaudio" on an open device fails and changes nothing, as the reader
// expects.
inline DWORD CdDeviceAnswer(MediaVerb verb, bool& open) {
  if (verb == MediaVerb::OpenCd) {
    if (open) return MCIERR_DEVICE_OPEN;
    open = true;
    return 0;
  }
  if (!open) return MCIERR_INVALID_DEVICE_NAME;
  if (verb == MediaVerb::CloseCd) open = false;
  return 0;
}

// What a WAV call made audible.
enum class SoundSource { None, File, Default };

class Volume;

// Where a player says what keeps it silent: the platform's warning channel, so that
// the reader's standard error and the headless log show it as every other warning.
using WarningSink = std::function<void(const std::string& text_utf8)>;

// Every call is handed the novel's volume, in which file names are found.
class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;

  // Carries out one command: 0, or one of the errors above.
  virtual DWORD Run(const MediaCommand& command, Volume& volume) = 0;
  // A WAV sound by its Shift-JIS name in the novel; it cuts
  // off the sound before it, and a name that does not load plays the default sound.
  virtual void PlaySound(const char* name_sjis, Volume& volume) = 0;
  // Work that must happen on the reader's thread, such as starting the next CD
  // track when one has ended. Cheap when there is nothing to do.
  virtual void Update(Volume& volume) = 0;
  // The level that music and sounds play at together, from 0 (silence) to 100 (as
  // the files have them).
  virtual void SetLevel(int percent) = 0;
  // A script that sounds (with MIDI music when midi is set) is loaded: what its first
  // sound would load may be loaded ahead, so that the sound waits for none of it.
  virtual void LoadAhead(bool /*midi*/) {}
  // The reader waits, with the page drawn: for input, a moment after the page went
  // out (while WorkWaits), or for a moment of an effect. Work put off so as not to
  // slow the page may start now.
  virtual void ReaderWaits() {}
  // Whether such work waits.
  virtual bool WorkWaits() { return false; }
};
