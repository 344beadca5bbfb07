// Standard MIDI Files, parsed with bounds before the synthesizer's player sees
// them: every chunk and event must lie inside the file, the tracks and events are
// counted, and what is handed on is the file written anew from what was parsed.
#pragma once

#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// What a piece can make sound: its MIDI program numbers, one bit each, and one bit
// more for the drum kits.
inline constexpr std::size_t MIDI_PROGRAM_COUNT = 128;
inline constexpr std::size_t MIDI_DRUM_KITS = MIDI_PROGRAM_COUNT;
using MidiPrograms = std::bitset<MIDI_PROGRAM_COUNT + 1>;

struct CheckedMidi {
  std::vector<char> bytes;  // the file written anew: every status byte explicit, every track ended
  // Every program that a program change on any channel selects, and the drum kits
  // when the drum channel plays a note or a maker's own message could make another
  // channel a drum part.
  MidiPrograms programs;
};

// The file checked and written anew, or nothing when it is no MIDI file that the
// player can play.
std::optional<CheckedMidi> CheckedMidiFile(std::span<const std::uint8_t> file);
