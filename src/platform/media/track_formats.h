// The audio files that stand in for the tracks of an audio CD, one row each, in the
// order in which a track's file is looked for. A new format is a row here, its
// header check, and the music type that the audio module's switch then asks for.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files/byte_source.h"
#include "platform/media/compressed_audio.h"

enum class TrackKind { OggVorbis, Flac, Mp3, Wave };

struct TrackFormat {
  TrackKind kind;
  std::string_view extension;
  // The check of the file's header before a decoder sees it, which gives where the
  // decoder's part begins; none for WAV, whose header is made anew from the checked one.
  std::optional<std::uint64_t> (*checked_start)(ByteSource& file);
};

inline constexpr TrackFormat TRACK_FORMATS[] = {
    {TrackKind::OggVorbis, "ogg", CheckedOggVorbis},
    {TrackKind::Flac, "flac", CheckedFlac},
    {TrackKind::Mp3, "mp3", CheckedMp3},
    {TrackKind::Wave, "wav", nullptr},
};

// The format that a file's name ends with, ignoring case; null for none.
const TrackFormat* TrackFormatOf(std::string_view path);
// ".ogg, .flac, .mp3 or .wav", for messages.
std::string TrackExtensionsText();
