// The headers of compressed CD-track files, checked before a decoder sees them:
// the fields that decoders divide by or size their buffers from must be sane.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/files/byte_source.h"

// Each check gives the offset at which the decoder's part of the file starts, or
// nothing when the header is not sane.

// An Ogg stream whose first packet is a Vorbis identification header; from 0.
std::optional<std::uint64_t> CheckedOggVorbis(ByteSource& file);
// A FLAC stream that begins with its STREAMINFO block; from 0.
std::optional<std::uint64_t> CheckedFlac(ByteSource& file);
// An MPEG audio stream, after an ID3v2 tag if there is one, that begins with a
// valid frame header followed by another; from its first frame, since the tag is
// nothing to play and the mixer's own tag reader overruns its stack on a frame
// larger than its tag.
std::optional<std::uint64_t> CheckedMp3(ByteSource& file);
