// Exactly the reader's media strings parse.
#include "platform/media/media_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(MediaCommands, ReaderStringsParse) {
  const std::string open = "open \"", alias = "\" type sequencer alias midi";
  const std::string sjis = "/tmp/novel\\\x83\x5C\x81\x5B\x83\x58.mid";  // ソ's trail byte is 0x5C
  const std::string long_path(5000, 'a');
  using enum MediaVerb;
  const struct {
    std::string command;
    MediaVerb verb;
    int track;
    std::string path;
  } cases[] = {
      {"open cdaudio", OpenCd, 0, ""}, {"set cdaudio time format tmsf", SetCdTimeFormat, 0, ""},
      {"stop cdaudio", StopCd, 0, ""}, {"close cdaudio", CloseCd, 0, ""},
      {"close midi", CloseMidi, 0, ""}, {"seek midi to start", SeekMidiStart, 0, ""},
      {"play midi", PlayMidi, 0, ""}, {"play midi ", PlayMidi, 0, ""},
      {"play cdaudio from 5", PlayCdFrom, 5, ""}, {"play cdaudio from 05", PlayCdFrom, 5, ""},
      {"play cdaudio from 12", PlayCdFrom, 12, ""}, {"play cdaudio from -3", PlayCdFrom, -3, ""},
      {open + "/a\\b.mid" + alias, OpenMidi, 0, "/a\\b.mid"},
      {open + sjis + alias, OpenMidi, 0, sjis},
      {open + alias, OpenMidi, 0, ""},
      {open + long_path + alias, OpenMidi, 0, long_path}};
  for (const auto& c : cases) {
    const std::optional<MediaCommand> parsed = ParseMediaCommand(c.command);
    ASSERT_TRUE(parsed.has_value()) << c.command;
    EXPECT_EQ(parsed->verb, c.verb) << c.command;
    EXPECT_EQ(c.verb == MediaVerb::PlayCdFrom ? parsed->track : 0, c.track) << c.command;
    EXPECT_EQ(c.verb == MediaVerb::OpenMidi ? parsed->path_sjis : "", c.path) << c.command;
  }
}

TEST(MediaCommands, OtherStringsAreNone) {
  const std::string play = "play cdaudio from";
  for (const std::string& command : std::vector<std::string>{
           "", "play cdaudio", play, play + " ", play + " 5 ", play + " x", play + " 5x",
           play + " +5", play + " 99999999999", play + " 1 to 3", "Open cdaudio",
           "open cdaudio ", " open cdaudio", "play midi  ", "play midi notify",
           "seek midi to end", "close all", "open \"a.mid\" type sequencer alias bgm",
           "open a.mid type sequencer alias midi", "open \" type sequencer alias midi",
           "status cdaudio mode", play + " " + std::string(400, '7'), std::string(400, 'x')}) {
    EXPECT_FALSE(ParseMediaCommand(command).has_value()) << '"' << command << '"';
  }
}

}  // namespace
