// How lines are told apart: the first bytes alone decide, in a fixed order.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

// Runs the start-up step over the script and reports the state after it.
ReaderRun StartUp(const std::string& script) {
  Novel novel;
  novel.Write("タイトル.txt", script);
  return RunNovel(novel, "state\n");
}

TEST(Commands, RecognisedByTheirFirstBytesAlone) {
  // QUAKE shakes and goes on; SEA is a text line that pauses.
  EXPECT_EQ(StartUp("QUAKE\nSEA\n二\n").StateNumber("CurrentLine"), 2);
  EXPECT_EQ(StartUp("SEA\n二\n").StateNumber("CurrentLine"), 1);
  EXPECT_EQ(StartUp("Sunday\n二\n").StateNumber("CurrentLine"), 1);
  // SETUP shows choices and stops on its line.
  ReaderRun setup = StartUp("C\nSETUP\n0\"はい\"\n>\n");
  EXPECT_EQ(setup.State("Mode"), "ModeChoosing");
  EXPECT_EQ(setup.StateNumber("CurrentLine"), 1);
  // CX is a page clear; MUSIC switches fading on.
  ReaderRun clear = StartUp("CX\nMUSIC\n一\n");
  EXPECT_EQ(clear.StateNumber("PageNumber"), 1);
  EXPECT_EQ(clear.StateNumber("FadeMode"), 1);
}

TEST(Commands, CdBeforeClearAndFiFcBeforeFontSize) {
  // CD5 reads a line feed and the terminator as its track: no page clear, no text.
  ReaderRun cd = StartUp("CD5\n一\n");
  EXPECT_EQ(cd.StateNumber("PageNumber"), 0);
  EXPECT_EQ(cd.StateNumber("CurrentLine"), 2);
  // FX is a font size that reads no digits: the normal font.
  ReaderRun fx = StartUp("F1\nFX\n一\n");
  EXPECT_EQ(fx.StateNumber("FontHeight"), 24);
  // FC101: brightness 101, the font untouched.
  ReaderRun fc = StartUp("F1\nFC101\n一\n");
  EXPECT_EQ(fc.StateNumber("TextBrightness"), 101);
  EXPECT_EQ(fc.StateNumber("FontHeight"), 42);
}

TEST(Commands, FontSizesReadFromColumnsOneAndTwo) {
  EXPECT_EQ(StartUp("F1\n一\n").StateNumber("FontHeight"), 42);
  EXPECT_EQ(StartUp("F9\n一\n").StateNumber("FontHeight"), 42);
  EXPECT_EQ(StartUp("F 1\n一\n").StateNumber("FontHeight"), 42);
  EXPECT_EQ(StartUp("F1\nF0\n一\n").StateNumber("FontHeight"), 24);
  EXPECT_EQ(StartUp("F1\nF\n一\n").StateNumber("FontHeight"), 24);
  // A negative size keeps the arithmetic and stays on the page's surface.
  ReaderRun negative = StartUp("C\nF-1\nかなり長い段落がここにあります。\n二\n");
  EXPECT_EQ(negative.StateNumber("FontHeight"), -1);
  EXPECT_EQ(negative.exit_code, 0);
}

TEST(Commands, BrightnessReadsColumnsTwoToFour) {
  EXPECT_EQ(StartUp("FC 50\n一\n").StateNumber("TextBrightness"), 50);
  EXPECT_EQ(StartUp("FC  0\n一\n").StateNumber("TextBrightness"), 0);
  EXPECT_EQ(StartUp("FC1000\n一\n").StateNumber("TextBrightness"), 100);
}

TEST(Commands, TitleSkipsColumnOne) {
  ReaderRun run = StartUp("T 第一章　岬\nC\n一\n");
  EXPECT_EQ(run.State("ChapterTitle"), "第一章　岬");
  EXPECT_EQ(run.State("Caption"), "第一章　岬");
  EXPECT_EQ(run.Count("caption 第一章　岬"), 1);
  // A title written right behind the T loses the first byte of its first character.
  ReaderRun glued = StartUp("T\nC\n一\n");
  EXPECT_EQ(glued.State("ChapterTitle"), "");
  // The caption keeps the whole title, the field its first 55 bytes.
  const std::string long_title(70, 'x');
  ReaderRun cut = StartUp("T " + long_title + "\nC\n一\n");
  EXPECT_EQ(cut.State("ChapterTitle"), std::string(55, 'x'));
  EXPECT_EQ(cut.State("Caption"), long_title);
}

TEST(Commands, ChoiceAndMediaLinesAreCalledInTheirPlace) {
  // Until sound and pictures arrive the lines are passed without a pause.
  ReaderRun run = StartUp("C\nWAV \"a.wav\"\nMID 0090 \"b.mid\"\nBMP \"c.bmp\"\nBO\nCD 05 0120\n一\n");
  EXPECT_EQ(run.StateNumber("CurrentLine"), 7);
  EXPECT_EQ(run.StateNumber("PageNumber"), 1);
}

}  // namespace
