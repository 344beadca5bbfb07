// CD tracks handed to SDL_mixer as checked streams: the file is opened by us (a
// regular file only), its header checked against its kind, and the decoder reads
// it through a stream of ours, so it never opens or sniffs the file itself.
#pragma once

#include <SDL_mixer.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/files/byte_source.h"

enum class TrackKind { OggVorbis, Flac, Mp3, Wave };

// The kind that a track file's extension names, if any.
std::optional<TrackKind> TrackKindOf(const std::string& path);

// The music of a track file ("trackNN.ogg", ".flac", ".mp3" or ".wav"), or null when
// the file cannot be opened or is not what its name says.
Mix_Music* LoadTrackMusic(const std::string& host_path);
// The same from bytes of any source, which the music reads while it plays.
Mix_Music* LoadTrackMusic(std::unique_ptr<ByteSource> file, TrackKind kind);
