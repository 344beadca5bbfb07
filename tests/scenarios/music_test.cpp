// Music and sounds as the media commands they send, on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/novel.h"

namespace {

ReaderRun StartUp(const std::string& script, const std::string& events = "") {
  Novel novel;
  novel.Write("タイトル.txt", script);
  return RunNovel(novel, events);
}

TEST(Music, CdLinePlaysTheTrackWaitsAndLoops) {
  ReaderRun run = StartUp("CD 05 0120\nC\n一\nE\n", "wait 120500\n");
  const std::vector<std::string> expected = {
      "@0 mci open cdaudio", "@0 mci set cdaudio time format tmsf", "@0 mci play cdaudio from 5",
      // the tick 120 s after the timer was set, half a second after the play
      "@120500 mci open cdaudio", "@120500 mci set cdaudio time format tmsf", "@120500 mci play cdaudio from 5",
  };
  std::vector<std::string> cd = run.TimedRecords("mci");
  cd.resize(std::min<std::size_t>(cd.size(), 6));
  EXPECT_EQ(cd, expected);
  EXPECT_EQ(run.TimedRecords("timer set 302")[0], "@500 timer set 302 120000");
  // The wait after the play holds the first page back by half a second.
  EXPECT_EQ(run.TimedRecords("present")[0], "@500 present");
  // The teardown stops the CD and leaves the loop timer to end with the window.
  EXPECT_EQ(run.Count("mci stop cdaudio"), 1);
  EXPECT_EQ(run.Count("timer kill 302"), 0);
}

TEST(Music, CdZeroStopsTheCdClosesMidiAndKillsTheLoop) {
  ReaderRun run = StartUp("CD 03 0010\nCD 00\nC\n一\nE\n", "state\n");
  std::vector<std::string> mci = run.Records("mci");
  const std::vector<std::string> stop(mci.begin() + 3, mci.begin() + 8);
  EXPECT_EQ(stop, (std::vector<std::string>{"mci open cdaudio", "mci set cdaudio time format tmsf", "mci stop cdaudio",
                                            "mci close cdaudio", "mci close midi"}));
  EXPECT_EQ(run.Count("timer kill 302"), 1);
  EXPECT_EQ(run.StateNumber("CdTrack"), 0);
  // CD5 reads a line feed and the terminator as its track: a stop.
  EXPECT_EQ(StartUp("CD5\nC\n一\n").Count("mci stop cdaudio"), 2);  // the line, then the teardown
}

TEST(Music, MidiLineOpensThePathFromTheStartDirectory) {
  Novel novel;
  novel.Write("タイトル.txt", "MID 0090 \"bgm.mid\"\nC\n一\nE\n");
  ReaderRun run = RunNovel(novel, "wait 90000\n");
  const std::vector<std::string> expected = {
      "@0 mci close midi", "@0 mci open \"" + novel.path() + "\\bgm.mid\" type sequencer alias midi",
      "@0 mci seek midi to start", "@0 mci play midi", "@0 timer set 300 90000",
      "@90000 mci seek midi to start", "@90000 mci play midi ",
  };
  std::vector<std::string> records = run.TimedRecords("mci");
  std::vector<std::string> timers = run.TimedRecords("timer set 300");
  records.insert(records.begin() + 4, timers.begin(), timers.end());
  records.resize(std::min<std::size_t>(records.size(), expected.size()));
  EXPECT_EQ(records, expected);
}

TEST(Music, TwoMidiLinesCloseTheFirstAndKeepOneTimer) {
  ReaderRun run = StartUp("MID 0030 \"a.mid\"\nMID 0060 \"b.mid\"\nC\n一\n", "wait 60000\n");
  EXPECT_EQ(run.Count("mci close midi"), 2);
  EXPECT_EQ(run.Count("timer set 300 30000"), 1);
  EXPECT_EQ(run.Count("timer set 300 60000"), 1);
  // Restarted at the second line's period: one tick after a minute, none at 30 s.
  EXPECT_EQ(run.TimedRecords("mci seek midi to start").back(), "@60000 mci seek midi to start");
  EXPECT_EQ(run.Count("mci seek midi to start"), 3);
}

TEST(Music, PeriodOfZeroPlaysOnce) {
  ReaderRun run = StartUp("CD 02 0000\nMID 0000 \"a.mid\"\nC\n一\n", "wait 5000\n");
  EXPECT_EQ(run.Records("timer set").size(), 0u);
  EXPECT_EQ(run.Count("mci play cdaudio from 2"), 1);
  EXPECT_EQ(run.Count("mci play midi"), 1);
}

TEST(Music, WaveNamesUpTo19BytesPlay) {
  ReaderRun run = StartUp("WAV \"1234567890123456789\"\nWAV \"12345678901234567890\"\nWAV \"open\nC\n一\n");
  EXPECT_EQ(run.Records("sound"), (std::vector<std::string>{"sound 1234567890123456789 1"}));
  EXPECT_EQ(StartUp("WAV \"波.wav\"\nC\n一\n").Records("sound"), (std::vector<std::string>{"sound 波.wav 1"}));
}

TEST(Music, MidiPathsLongerThanTheOpenCommandPlayNothing) {
  const std::string name(240, 'm');
  ReaderRun run = StartUp("MID 0010 \"" + name + "\"\nC\n一\n");
  EXPECT_EQ(run.Count("mci close midi"), 0);
  EXPECT_EQ(run.Records("timer set 300").size(), 0u);
}

TEST(Music, AReplayedCdLineWithoutDigitsStopsTheCdButLeavesTheMidi) {
  Novel novel;
  novel.Write("タイトル.txt", "MID 0030 \"a.mid\"\nC\n一\nCD\nC\n二\nE\n");
  novel.Write("しおり.sio", "二頁目,2,タイトル.txt\n");
  ReaderRun run = RunNovel(novel, "state\ncommand 605\nstate\n");
  // At start-up the interpreter ran only the MIDI line; the replay of page 2 meets
  // the bare CD line and restores it: the CD stops, the MIDI file stays open.
  const std::vector<std::string> all = run.Records("");
  const auto command = std::find(all.begin(), all.end(), "state ScriptFileName=タイトル.txt");
  ASSERT_NE(command, all.end());
  const std::vector<std::string> after(command + 1, all.end());
  EXPECT_EQ(std::count(after.begin(), after.end(), "mci stop cdaudio"), 2);  // the replay, then the teardown
  EXPECT_EQ(std::count(after.begin(), after.end(), "mci close midi"), 0);
  EXPECT_EQ(std::count(after.begin(), after.end(), "timer kill 302"), 1);
  EXPECT_EQ(run.Records("state PageNumber=").back(), "state PageNumber=2");
}

}  // namespace
