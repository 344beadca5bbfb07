// Parsing the reader's media command strings: one row for each verb, with its fixed
// text and, for two of them, a track number or a quoted path.
#include "platform/media/media_commands.h"

#include <array>
#include <charconv>

namespace {

// What stands between a verb's text and its tail.
enum class MediaArgument {
  None,
  Track,          // "%d" of the reader
  Path,           // the bytes between the quotes, as sent
  OptionalSpace,  // nothing, or the one space of the loop timer's variant
};

struct VerbForm {
  MediaVerb verb;
  std::string_view text;
  MediaArgument argument = MediaArgument::None;
  std::string_view tail = {};
};

constexpr auto VERB_FORMS = std::to_array<VerbForm>({
    {MediaVerb::OpenCd, "open cdaudio"},
    {MediaVerb::SetCdTimeFormat, "set cdaudio time format tmsf"},
    {MediaVerb::PlayCdFrom, "play cdaudio from ", MediaArgument::Track},
    {MediaVerb::StopCd, "stop cdaudio"},
    {MediaVerb::CloseCd, "close cdaudio"},
    {MediaVerb::OpenMidi, "open \"", MediaArgument::Path, "\" type sequencer alias midi"},
    {MediaVerb::SeekMidiStart, "seek midi to start"},
    {MediaVerb::PlayMidi, "play midi", MediaArgument::OptionalSpace},
    {MediaVerb::CloseMidi, "close midi"},
});

// Row i holds verb i: no verb is listed twice, and none is missing.
constexpr bool EachVerbInItsRow() {
  for (std::size_t row = 0; row < VERB_FORMS.size(); ++row) {
    if (VERB_FORMS[row].verb != static_cast<MediaVerb>(row)) return false;
  }
  return true;
}
static_assert(VERB_FORMS.size() == static_cast<std::size_t>(MediaVerb::CloseMidi) + 1,
              "every verb has its row, CloseMidi last");
static_assert(EachVerbInItsRow(), "row i of VERB_FORMS holds verb i");

// "%d" of the reader: an optional minus sign and decimal digits that fit an int.
std::optional<int> ParseTrack(std::string_view digits) {
  if (digits.empty() || digits.front() == '+') return std::nullopt;
  int track = 0;
  const char* end = digits.data() + digits.size();
  const auto [stop, error] = std::from_chars(digits.data(), end, track);
  if (error != std::errc() || stop != end) return std::nullopt;
  return track;
}

// The form's command when what stands between its text and its tail fits it.
std::optional<MediaCommand> WithArgument(const VerbForm& form, std::string_view argument) {
  switch (form.argument) {
    case MediaArgument::None:
      if (argument.empty()) return MediaCommand{form.verb, 0, {}};
      break;
    case MediaArgument::OptionalSpace:
      if (argument.empty() || argument == " ") return MediaCommand{form.verb, 0, {}};
      break;
    case MediaArgument::Track:
      if (const std::optional<int> track = ParseTrack(argument)) {
        return MediaCommand{form.verb, *track, {}};
      }
      break;
    case MediaArgument::Path: return MediaCommand{form.verb, 0, std::string(argument)};
  }
  return std::nullopt;
}

}  // namespace

std::optional<MediaCommand> ParseMediaCommand(std::string_view command_sjis) {
  for (const VerbForm& form : VERB_FORMS) {
    if (command_sjis.size() < form.text.size() + form.tail.size() ||
        !command_sjis.starts_with(form.text) || !command_sjis.ends_with(form.tail)) {
      continue;
    }
    const std::string_view argument = command_sjis.substr(
        form.text.size(), command_sjis.size() - form.text.size() - form.tail.size());
    if (std::optional<MediaCommand> command = WithArgument(form, argument)) return command;
  }
  return std::nullopt;
}
