// CD tracks handed to SDL_mixer as checked streams: the file is opened by us (a
// regular file only), its header checked against its kind, and the decoder reads
// it through a stream of ours, so it never opens or sniffs the file itself.
#pragma once

#include <SDL_mixer.h>

#include <memory>
#include <optional>
#include <string>

#include "platform/files/byte_source.h"
#include "platform/error_or.h"
#include "platform/media/track_formats.h"

// The music of a track file in its format, read as it plays; why not when the file is
// not what its name says, or the decoder refuses it.
ErrorOr<Mix_Music*, std::string> LoadTrackMusic(std::unique_ptr<ByteSource> file,
                                                const TrackFormat& format);
