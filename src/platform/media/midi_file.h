// Standard MIDI Files, parsed with bounds before the synthesizer's player sees
// them: every chunk and event must lie inside the file, the tracks and events are
// counted, and what is handed on is the file written anew from what was parsed.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// MIDI program numbers, one bit each.
using MidiPrograms = std::bitset<128>;

struct CheckedMidi {
  std::vector<char> bytes;  // the file written anew: every status byte explicit, every track ended
  MidiPrograms programs;    // every program that a program change on any channel selects
};

// The file checked and written anew, or nothing when it is no MIDI file that the
// player can play.
std::optional<CheckedMidi> CheckedMidiFile(std::span<const std::uint8_t> file);
