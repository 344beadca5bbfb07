// The media commands carried out on SDL_mixer: the device states of the old media
// interface (an open CD device, a MIDI file open under its alias), and the post-mix
// hook through which MIDI joins the mix and the end of a CD track is noticed.
#include "platform/audio/mixer_player.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/audio/audio_session.h"
#include "platform/audio/cd_music.h"
#include "platform/audio/midi_music.h"
#include "platform/audio/sound_effects.h"
#include "platform/audio/soundfont_search.h"
#include "platform/audio/track_stream.h"
#include "platform/files/read_limits.h"
#include "platform/files/volume.h"
#include "platform/media/track_files.h"
#include "platform/translation.h"

namespace {

// Wakes the window's message loop, which then calls Update. SDL's event queue is
// thread-safe; without an event loop (tests) the wake-up is simply not needed.
void PushWakeEvent(std::uint32_t type) {
  if (type == static_cast<std::uint32_t>(-1) || SDL_WasInit(SDL_INIT_EVENTS) == 0) return;
  SDL_Event event{};
  event.type = type;
  SDL_PushEvent(&event);
}

}  // namespace

ErrorOr<std::unique_ptr<MixerPlayer>, std::string> MixerPlayer::Create(
    MixerPlayerOptions options) {
  std::unique_ptr<MixerPlayer> player(new MixerPlayer(std::move(options)));
  if (!player->options_.open_device_on_first_sound) TRY(player->OpenDevice());
  player->soundfont_path_ = FindSoundFont(player->options_.soundfont_file);
  return player;
}

// The device, and the mixer with it, open only once something is to sound: a
// novel read in silence keeps no audio thread awake while it waits for a click.
ErrorOr<void, std::string> MixerPlayer::OpenDevice() {
  if (session_) return {};
  auto session = std::make_unique<AudioSession>();
  if (ErrorOr<void, std::string> opened = session->Open(); !opened) {
    device_failed_ = true;
    return opened;
  }
  session_ = std::move(session);
  wake_event_type_ = SDL_RegisterEvents(1);
  const std::uint32_t wake_type = wake_event_type_;
  cd_ = std::make_unique<CdMusic>([wake_type] { PushWakeEvent(wake_type); });
  sounds_ = std::make_unique<SoundEffects>(AUDIO_RATE_HZ, AUDIO_CHANNELS);
  Mix_SetPostMix(&MixerPlayer::PostMix, this);
  return {};
}

// A device that failed once is not tried again: the reader heard why then.
bool MixerPlayer::ReadyToSound() {
  if (device_failed_) return false;
  const ErrorOr<void, std::string> opened = OpenDevice();
  if (!opened && options_.warn) {
    options_.warn(Formatted(_("no audio device (%s); the novel stays silent"), opened.error()));
  }
  return opened.has_value();
}

// The soundfont takes a moment to load: it is read when the first MIDI file opens,
// unless it was loaded ahead. The device need not be open for a file to open.
bool MixerPlayer::ReadyForMidi() {
  if (device_failed_ || !soundfont_path_) return false;
  device_wanted_ = true;
  std::lock_guard<std::mutex> guard(midi_loading_);
  if (!midi_) midi_ = MidiMusic::Create(*soundfont_path_, AUDIO_RATE_HZ);
  return midi_ != nullptr;
}

void MixerPlayer::LoadAhead(bool midi) {
  if (!midi || !soundfont_path_) return;
  std::lock_guard<std::mutex> guard(midi_loading_);
  if (!midi_) midi_ = MidiMusic::Create(*soundfont_path_, AUDIO_RATE_HZ);
}

void MixerPlayer::ReaderWaits() {
  StartWhatWaits();
  // While the synthesizer is still being made ahead no music can want a bank.
  std::unique_lock<std::mutex> guard(midi_loading_, std::try_to_lock);
  if (guard.owns_lock() && midi_) midi_->StartBankLoad();
}

bool MixerPlayer::WorkWaits() {
  if (device_wanted_ || sound_waiting_) return true;
  std::unique_lock<std::mutex> guard(midi_loading_, std::try_to_lock);
  return guard.owns_lock() && midi_ && midi_->bank_wanted();
}

MixerPlayer::MixerPlayer(MixerPlayerOptions options) : options_(std::move(options)) {}

MixerPlayer::~MixerPlayer() {
  // Mix_SetPostMix waits for a running callback, so none sees a half-destroyed player.
  if (cd_) Mix_SetPostMix(nullptr, nullptr);
  sounds_.reset();
  midi_.reset();
  cd_.reset();
}

void MixerPlayer::PostMix(void* self, std::uint8_t* stream, int byte_count) {
  auto* player = static_cast<MixerPlayer*>(self);
  {
    std::unique_lock<std::mutex> guard(player->midi_loading_, std::try_to_lock);
    if (guard.owns_lock() && player->midi_) player->midi_->MixInto(stream, byte_count);
  }
  player->cd_->NoticeEndOfTrack();
  // The whole mix, CD, MIDI and sounds, at the reader's level.
  const std::int32_t gain = player->gain_65536ths_.load(std::memory_order_relaxed);
  if (gain == FULL_GAIN) return;
  const std::size_t samples = static_cast<std::size_t>(byte_count) / sizeof(std::int16_t);
  for (std::size_t k = 0; k < samples; ++k) {
    std::int16_t sample = 0;
    std::memcpy(&sample, stream + k * sizeof sample, sizeof sample);
    sample = static_cast<std::int16_t>(sample * gain / FULL_GAIN);
    std::memcpy(stream + k * sizeof sample, &sample, sizeof sample);
  }
}

// The ear hears a level's square: each tenth of the way sounds about as large a step.
void MixerPlayer::SetLevel(int percent) {
  const std::int32_t level = std::clamp(percent, 0, 100);
  gain_65536ths_.store(level * level * FULL_GAIN / 10000, std::memory_order_relaxed);
}

// A track without a file the reader has been told of at its CD line; one whose file
// is refused only now is told here.
CdMusic::TrackLoader MixerPlayer::TrackLoader(Volume& volume) {
  return [this, &volume](int track) -> Mix_Music* {
    const ErrorOr<NovelFile, TrackFileError> file = FindTrackFile(volume, track);
    const TrackFormat* format = file ? TrackFormatOf(file->path) : nullptr;
    if (format == nullptr) return nullptr;
    FileOr<std::unique_ptr<ByteSource>> bytes = volume.Open(*file);
    if (!bytes) return nullptr;
    ErrorOr<Mix_Music*, std::string> music = LoadTrackMusic(std::move(*bytes), *format);
    if (!music && options_.warn) {
      options_.warn(Formatted(_("CD track %s: the file %s cannot be played: %s"),
                              std::to_string(track), volume.DisplayName(file->path),
                              music.error()));
    }
    return music ? *music : nullptr;
  };
}

DWORD MixerPlayer::Run(const MediaCommand& command, Volume& volume) {
  Update(volume);
  switch (command.verb) {
    case MediaVerb::OpenCd:
    case MediaVerb::SetCdTimeFormat:
    case MediaVerb::PlayCdFrom:
    case MediaVerb::StopCd:
    case MediaVerb::CloseCd:
      return RunCd(command, volume);
    case MediaVerb::OpenMidi:
    case MediaVerb::SeekMidiStart:
    case MediaVerb::PlayMidi:
    case MediaVerb::CloseMidi:
      return RunMidi(command, volume);
  }
  return MCIERR_UNRECOGNIZED_COMMAND;
}

DWORD MixerPlayer::RunCd(const MediaCommand& command, Volume& volume) {
  if (const DWORD error = CdDeviceAnswer(command.verb, cd_open_)) return error;
  switch (command.verb) {
    case MediaVerb::PlayCdFrom:
      if (!ReadyToSound()) return 0;
      return cd_->Play(command.track, TrackLoader(volume)) ? 0 : MCIERR_FILE_NOT_FOUND;
    case MediaVerb::StopCd:
    case MediaVerb::CloseCd:
      if (cd_) cd_->Stop();
      return 0;
    // The open, and the time format: track numbers are all the reader uses.
    case MediaVerb::OpenCd:
    case MediaVerb::SetCdTimeFormat: return 0;
    // Not the CD's: Run gives them to RunMidi.
    case MediaVerb::OpenMidi:
    case MediaVerb::SeekMidiStart:
    case MediaVerb::PlayMidi:
    case MediaVerb::CloseMidi: return MCIERR_UNRECOGNIZED_COMMAND;
  }
  return MCIERR_UNRECOGNIZED_COMMAND;
}

DWORD MixerPlayer::RunMidi(const MediaCommand& command, Volume& volume) {
  if (command.verb == MediaVerb::OpenMidi) {
    if (midi_open_) return MCIERR_DEVICE_OPEN;
    // The path arrives as "<the novel's place>\<name>"; names match as the
    // reader's other files do, and a path elsewhere leads outside the novel.
    const FileOr<std::string> bytes =
        volume.Read(volume.BelowPlace(command.path_sjis), MIDI_FILE_MAX_BYTES);
    midi_open_ = ReadyForMidi() && midi_->Open(bytes ? *bytes : std::string());
    return midi_open_ ? 0 : MCIERR_FILE_NOT_FOUND;
  }
  if (!midi_open_) return MCIERR_INVALID_DEVICE_NAME;
  if (command.verb == MediaVerb::SeekMidiStart) midi_->Rewind();
  if (command.verb == MediaVerb::PlayMidi) midi_->Play();
  if (command.verb == MediaVerb::CloseMidi) {
    midi_->Close();
    midi_open_ = false;
  }
  return 0;
}

void MixerPlayer::PlaySound(const char* name_sjis, Volume& volume) {
  Update(volume);
  // A null name stops the sound that plays, as it did on the old platform.
  if (name_sjis == nullptr) {
    sound_waiting_.reset();
    if (sounds_) sounds_->Stop();
    return;
  }
  if (device_failed_) return;
  FileOr<std::unique_ptr<ByteSource>> file = volume.Open(name_sjis);
  // A later sound of the same click would cut this one off at once.
  sound_waiting_ = file ? std::move(*file) : nullptr;
}

void MixerPlayer::StartWhatWaits() {
  if (!std::exchange(device_wanted_, false) && !sound_waiting_) return;
  std::optional<std::unique_ptr<ByteSource>> sound = std::exchange(sound_waiting_, std::nullopt);
  if (ReadyToSound() && sound) sounds_->Play(std::move(*sound));
}

void MixerPlayer::Update(Volume& volume) {
  if (cd_) cd_->Update(TrackLoader(volume));
}
