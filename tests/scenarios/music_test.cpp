// Music and sounds as the media commands they send, on the virtual clock.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;

TEST(Music, ACdLinePlaysTheTrackWaitsAndLoops) {
  const ReaderRun run = RunScript("CD 05 0120\nC\n一\nE\n", "wait 120500\n");
  Strings expected;
  // The tick 120 s after the timer was set, half a second after the play.
  for (const char* at : {"@0 ", "@120500 "}) {
    for (const char* command :
         {"open cdaudio", "set cdaudio time format tmsf", "play cdaudio from 5"}) {
      expected.push_back(std::string(at) + "mci " + command);
    }
  }
  Strings mci = run.TimedRecords("mci");
  mci.resize(6);
  EXPECT_EQ(mci, expected);
  EXPECT_EQ(run.TimedRecords("timer set 302")[0], "@500 timer set 302 120000");
  // The wait after the play holds the first page back by half a second.
  EXPECT_EQ(run.TimedRecords("present")[0], "@500 present");
  // The teardown stops the CD and leaves the loop timer to end with the window.
  EXPECT_EQ(run.Count("mci stop cdaudio"), 1);
  EXPECT_EQ(run.Count("timer kill 302"), 0);
}

TEST(Music, CdZeroStopsTheCdClosesMidiAndKillsTheLoop) {
  const ReaderRun run = RunScript("CD 03 0010\nCD 00\nC\n一\nE\n", "state\n");
  const Strings mci = run.Records("mci");
  EXPECT_EQ(Strings(mci.begin() + 3, mci.begin() + 8),
            (Strings{"mci open cdaudio", "mci set cdaudio time format tmsf", "mci stop cdaudio",
                     "mci close cdaudio", "mci close midi"}));
  EXPECT_EQ(run.Count("timer kill 302"), 1);
  EXPECT_EQ(run.StateNumber("CdTrack"), 0);
  // CD5 reads a line feed and the terminator as its track: a stop, then the teardown's.
  EXPECT_EQ(RunScript("CD5\nC\n一\n", "").Count("mci stop cdaudio"), 2);
}

TEST(Music, AMidiLineOpensThePathFromTheStartDirectory) {
  Novel novel;
  novel.Write("タイトル.txt", "MID 0090 \"bgm.mid\"\nC\n一\nE\n");
  const ReaderRun run = RunNovel(novel, "wait 90000\n");
  const Strings expected = {
      "@0 mci close midi",
      "@0 mci open \"" + novel.path() + "\\bgm.mid\" type sequencer alias midi",
      "@0 mci seek midi to start", "@0 mci play midi", "@0 timer set 300 90000",
      "@90000 mci seek midi to start", "@90000 mci play midi "};
  Strings records = run.TimedRecords("mci");
  const Strings timers = run.TimedRecords("timer set 300");
  records.insert(records.begin() + 4, timers.begin(), timers.end());
  records.resize(std::min(records.size(), expected.size()));
  EXPECT_EQ(records, expected);
}

TEST(Music, TwoMidiLinesCloseTheFirstAndKeepOneTimer) {
  const ReaderRun run =
      RunScript("MID 0030 \"a.mid\"\nMID 0060 \"b.mid\"\nC\n一\n", "wait 60000\n");
  EXPECT_EQ(run.Count("mci close midi"), 2);
  EXPECT_EQ(run.Records("timer set 300"),
            (Strings{"timer set 300 30000", "timer set 300 60000"}));
  // Restarted at the second line's period: one tick after a minute, none at 30 s.
  EXPECT_EQ(run.TimedRecords("mci seek midi to start").back(), "@60000 mci seek midi to start");
  EXPECT_EQ(run.Count("mci seek midi to start"), 3);
}

TEST(Music, APeriodOfZeroPlaysOnce) {
  const ReaderRun run = RunScript("CD 02 0000\nMID 0000 \"a.mid\"\nC\n一\n", "wait 5000\n");
  EXPECT_EQ(run.Records("timer set").size(), 0u);
  EXPECT_EQ(run.Count("mci play cdaudio from 2"), 1);
  EXPECT_EQ(run.Count("mci play midi"), 1);
}

TEST(Music, NamesThatDoNotFitTheirBuffersPlayNothing) {
  const ReaderRun run = RunScript(
      "WAV \"1234567890123456789\"\nWAV \"12345678901234567890\"\nWAV \"open\nC\n一\n", "");
  EXPECT_EQ(run.Records("sound"), (Strings{"sound 1234567890123456789 1"}));
  EXPECT_EQ(RunScript("WAV \"波.wav\"\nC\n一\n", "").Records("sound"), (Strings{"sound 波.wav 1"}));
  // A MIDI path longer than the open command allows.
  const ReaderRun midi = RunScript("MID 0010 \"" + std::string(240, 'm') + "\"\nC\n一\n", "");
  EXPECT_EQ(midi.Count("mci close midi") + midi.Records("timer set 300").size(), 0u);
}

TEST(Music, AReplayedCdLineWithoutDigitsStopsTheCdButLeavesTheMidi) {
  Novel novel;
  novel.Write("タイトル.txt", "MID 0030 \"a.mid\"\nC\n一\nCD\nC\n二\nE\n");
  novel.Write("しおり.sio", "二頁目,2,タイトル.txt\n");
  const ReaderRun run = RunNovel(novel, "state\ncommand 605\nstate\n");
  // At start-up the interpreter ran only the MIDI line; the replay of page 2 meets
  // the bare CD line and restores it: the CD stops, the MIDI file stays open.
  const Strings all = run.Records("");
  const auto command = std::find(all.begin(), all.end(), "state ScriptFileName=タイトル.txt");
  ASSERT_NE(command, all.end());
  const auto count = [&](const char* record) { return std::count(command, all.end(), record); };
  EXPECT_EQ(count("mci stop cdaudio"), 2);  // the replay, then the teardown
  EXPECT_EQ(count("mci close midi"), 0);
  EXPECT_EQ(count("timer kill 302"), 1);
  EXPECT_EQ(run.Values("PageNumber").back(), "2");
}

}  // namespace
