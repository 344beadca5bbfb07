// The headers of compressed CD-track files, checked before a decoder sees them:
// the fields that decoders divide by or size their buffers from must be sane.
#pragma once

#include "platform/files/byte_source.h"

// An Ogg stream whose first packet is a Vorbis identification header.
bool IsCheckedOggVorbis(ByteSource& file);
// A FLAC stream that begins with its STREAMINFO block.
bool IsCheckedFlac(ByteSource& file);
// An MPEG audio stream, after an ID3v2 tag if there is one, that begins with a
// valid frame header followed by another.
bool IsCheckedMp3(ByteSource& file);
