// Standard MIDI Files, parsed with bounds before the synthesizer's player sees
// them: every chunk and event must lie inside the file, the tracks and events are
// counted, and what is handed on is the file written anew from what was parsed.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The file written anew (every status byte explicit, every track ended), or nothing
// when it is no MIDI file that the player can play.
std::optional<std::vector<char>> CheckedMidiFile(std::span<const std::uint8_t> file);
