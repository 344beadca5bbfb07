// The audio files that stand in for the tracks of an audio CD: trackNN.ogg, .flac,
// .mp3 or .wav in the novel's directory or its cd/ folder.
#pragma once

#include <optional>
#include <string>

class HostNames;

// The host path of track N's file, or nothing when no such file exists. Names
// match as the reader's other file names do, so TRACK05.OGG counts as well.
std::optional<std::string> FindTrackFile(HostNames& names, const std::string& novel_directory,
                                         int track);
