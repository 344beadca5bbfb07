// The audio files that stand in for the tracks of an audio CD: trackNN.ogg, .flac,
// .mp3 or .wav in the novel's folder or its cd/ folder.
#pragma once

#include <optional>

#include "platform/files/novel_file.h"

class Volume;

// Track N's file, or nothing when no such file exists. Names match as the reader's
// other file names do, so TRACK05.OGG counts as well.
std::optional<NovelFile> FindTrackFile(Volume& volume, int track);
