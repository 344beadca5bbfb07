// The audio files that stand in for the tracks of an audio CD: trackNN.ogg, .flac,
// .mp3 or .wav in the novel's folder or its cd/ folder.
#pragma once

#include <string>

#include "platform/error_or.h"
#include "platform/files/novel_file.h"

class Volume;

// Why a track has no file to play: no name of its forms is there (NotFound), or the
// first one there cannot be read, by that name as the scripts write it.
struct TrackFileError {
  std::string name_sjis;
  FileError error;
};

// Track N's file. Names match as the reader's other file names do, so TRACK05.OGG
// counts as well; a name that is there but cannot be read (a FIFO, one too large)
// gives way to a later form that can.
ErrorOr<NovelFile, TrackFileError> FindTrackFile(Volume& volume, int track);
