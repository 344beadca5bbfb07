// The media command strings: exactly the reader's strings are understood, with
// their track number or quoted path; every other string is none. Without a player
// (the headless runner) every call is recorded and succeeds.
#include "platform/media/media_commands.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/headless/headless_backend.h"
#include "platform/media/media.h"
#include "platform/platform.h"

namespace {

MediaVerb VerbOf(const std::string& command) {
  const std::optional<MediaCommand> parsed = ParseMediaCommand(command);
  EXPECT_TRUE(parsed.has_value()) << command;
  return parsed ? parsed->verb : MediaVerb::CloseMidi;
}

TEST(MediaCommands, FixedStrings) {
  EXPECT_EQ(VerbOf("open cdaudio"), MediaVerb::OpenCd);
  EXPECT_EQ(VerbOf("set cdaudio time format tmsf"), MediaVerb::SetCdTimeFormat);
  EXPECT_EQ(VerbOf("stop cdaudio"), MediaVerb::StopCd);
  EXPECT_EQ(VerbOf("close cdaudio"), MediaVerb::CloseCd);
  EXPECT_EQ(VerbOf("close midi"), MediaVerb::CloseMidi);
  EXPECT_EQ(VerbOf("seek midi to start"), MediaVerb::SeekMidiStart);
  EXPECT_EQ(VerbOf("play midi"), MediaVerb::PlayMidi);
  EXPECT_EQ(VerbOf("play midi "), MediaVerb::PlayMidi);
}

TEST(MediaCommands, PlayCdTrackNumber) {
  EXPECT_EQ(ParseMediaCommand("play cdaudio from 5")->track, 5);
  EXPECT_EQ(ParseMediaCommand("play cdaudio from 05")->track, 5);
  EXPECT_EQ(ParseMediaCommand("play cdaudio from 12")->track, 12);
  EXPECT_EQ(ParseMediaCommand("play cdaudio from -3")->track, -3);  // "%d" of a negative track
  EXPECT_EQ(ParseMediaCommand("play cdaudio from 5")->verb, MediaVerb::PlayCdFrom);
}

TEST(MediaCommands, OpenMidiPath) {
  const std::optional<MediaCommand> open = ParseMediaCommand("open \"/a\\b.mid\" type sequencer alias midi");
  ASSERT_TRUE(open);
  EXPECT_EQ(open->verb, MediaVerb::OpenMidi);
  EXPECT_EQ(open->path_sjis, "/a\\b.mid");
  // Shift-JIS bytes, a 0x5C trail byte among them (ソ), pass through unchanged.
  const std::string path = "/tmp/novel\\\x83\x5C\x81\x5B\x83\x58.mid";
  EXPECT_EQ(ParseMediaCommand("open \"" + path + "\" type sequencer alias midi")->path_sjis, path);
  EXPECT_EQ(ParseMediaCommand("open \"\" type sequencer alias midi")->path_sjis, "");
}

TEST(MediaCommands, OtherStringsAreNone) {
  for (const char* command :
       {"", "play cdaudio", "play cdaudio from", "play cdaudio from ", "play cdaudio from 5 ",
        "play cdaudio from x", "play cdaudio from 5x", "play cdaudio from +5", "play cdaudio from 99999999999",
        "play cdaudio from 1 to 3", "Open cdaudio", "open cdaudio ", " open cdaudio", "play midi  ",
        "play midi notify", "seek midi to end", "close all", "open \"a.mid\" type sequencer alias bgm",
        "open a.mid type sequencer alias midi", "open \" type sequencer alias midi", "status cdaudio mode"}) {
    EXPECT_FALSE(ParseMediaCommand(command).has_value()) << '"' << command << '"';
  }
}

TEST(MediaCommands, LongStringsParse) {
  const std::string path(5000, 'a');
  EXPECT_EQ(ParseMediaCommand("open \"" + path + "\" type sequencer alias midi")->path_sjis, path);
  EXPECT_FALSE(ParseMediaCommand("play cdaudio from " + std::string(400, '7')).has_value());
  EXPECT_FALSE(ParseMediaCommand(std::string(400, 'x')).has_value());
}

TEST(MediaCommands, WithoutPlayerEverythingSucceedsAndIsRecorded) {
  std::ostringstream log;
  HeadlessBackend backend({}, log);
  Platform platform(backend, "/");
  char reply[16] = "junk";
  EXPECT_EQ(mciSendStringA(platform, "play cdaudio from 3", reply, sizeof reply, nullptr), 0u);
  EXPECT_STREQ(reply, "");
  EXPECT_EQ(mciSendStringA(platform, "bogus command", nullptr, 0, nullptr), 0u);
  EXPECT_TRUE(sndPlaySoundA(platform, "missing.wav", SND_ASYNC));
  EXPECT_NE(log.str().find("mci play cdaudio from 3"), std::string::npos);
  EXPECT_NE(log.str().find("mci bogus command"), std::string::npos);
  EXPECT_NE(log.str().find("sound missing.wav 1"), std::string::npos);
}

}  // namespace
