// Parsing the reader's media command strings: fixed texts, one track number and
// one quoted path.
#include "platform/media/media_commands.h"

#include <array>
#include <charconv>
#include <utility>

namespace {

constexpr std::string_view PLAY_CD_PREFIX = "play cdaudio from ";
constexpr std::string_view OPEN_MIDI_PREFIX = "open \"";
constexpr std::string_view OPEN_MIDI_SUFFIX = "\" type sequencer alias midi";

constexpr std::array<std::pair<std::string_view, MediaVerb>, 8> FIXED_COMMANDS = {{
    {"open cdaudio", MediaVerb::OpenCd},
    {"set cdaudio time format tmsf", MediaVerb::SetCdTimeFormat},
    {"stop cdaudio", MediaVerb::StopCd},
    {"close cdaudio", MediaVerb::CloseCd},
    {"seek midi to start", MediaVerb::SeekMidiStart},
    {"play midi", MediaVerb::PlayMidi},
    {"play midi ", MediaVerb::PlayMidi},  // the loop timer's variant
    {"close midi", MediaVerb::CloseMidi},
}};

// "%d" of the reader: an optional minus sign and decimal digits that fit an int.
std::optional<int> ParseTrack(std::string_view digits) {
  if (digits.empty() || digits.front() == '+') return std::nullopt;
  int track = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, track);
  if (error != std::errc() || stop != end) return std::nullopt;
  return track;
}

}  // namespace

std::optional<MediaCommand> ParseMediaCommand(std::string_view command_sjis) {
  for (const auto& [text, verb] : FIXED_COMMANDS) {
    if (command_sjis == text) return MediaCommand{verb, 0, {}};
  }
  if (command_sjis.starts_with(PLAY_CD_PREFIX)) {
    const std::optional<int> track = ParseTrack(command_sjis.substr(PLAY_CD_PREFIX.size()));
    if (!track) return std::nullopt;
    return MediaCommand{MediaVerb::PlayCdFrom, *track, {}};
  }
  if (command_sjis.size() >= OPEN_MIDI_PREFIX.size() + OPEN_MIDI_SUFFIX.size() &&
      command_sjis.starts_with(OPEN_MIDI_PREFIX) && command_sjis.ends_with(OPEN_MIDI_SUFFIX)) {
    const std::string_view path =
        command_sjis.substr(OPEN_MIDI_PREFIX.size(), command_sjis.size() - OPEN_MIDI_PREFIX.size() -
                                                         OPEN_MIDI_SUFFIX.size());
    return MediaCommand{MediaVerb::OpenMidi, 0, std::string(path)};
  }
  return std::nullopt;
}
