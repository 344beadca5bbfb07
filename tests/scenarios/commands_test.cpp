// How lines are told apart: the first bytes alone decide, in a fixed order, and
// arguments stand in fixed columns.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

TEST(Commands, RecognisedByTheirFirstBytesAndReadFromTheirColumns) {
  const std::string long_title(70, 'x');
  const struct {
    std::string script;
    const char* field;
    std::string value;  // after the start-up step
  } cases[] = {
      {"QUAKE\nSEA\n二\n", "CurrentLine", "2"},  // QUAKE shakes and goes on; SEA is text
      {"Sunday\n二\n", "CurrentLine", "1"},
      {"C\nSETUP\n0\"はい\"\n>\n", "Mode", "ModeChoosing"},
      {"CX\nMUSIC\n一\n", "PageNumber", "1"},
      {"CX\nMUSIC\n一\n", "FadeMode", "1"},
      {"CD5\n一\n", "PageNumber", "0"},          // CD before C: track 0, a stop
      {"F1\nFX\n一\n", "FontHeight", "24"},      // FX reads no digits: the normal font
      {"F1\nFC101\n一\n", "FontHeight", "42"},   // FC before F
      {"F1\nFC101\n一\n", "TextBrightness", "101"},
      {"F9\n一\n", "FontHeight", "42"},
      {"F 1\n一\n", "FontHeight", "42"},
      {"F1\nF\n一\n", "FontHeight", "24"},
      {"C\nF-1\nかなり長い段落がここにあります。\n二\n", "FontHeight", "-1"},
      {"FC 50\n一\n", "TextBrightness", "50"},
      {"FC  0\n一\n", "TextBrightness", "0"},
      {"FC1000\n一\n", "TextBrightness", "100"},
      {"T 第一章　岬\nC\n一\n", "ChapterTitle", "第一章　岬"},
      {"T 第一章　岬\nC\n一\n", "Caption", "第一章　岬"},
      {"T\nC\n一\n", "ChapterTitle", ""},
      {"T " + long_title + "\nC\n一\n", "ChapterTitle", std::string(55, 'x')},  // 55 bytes kept
      {"T " + long_title + "\nC\n一\n", "Caption", long_title},                  // all of them
      {"C\nWAV \"a.wav\"\nMID 0090 \"b.mid\"\nBMP \"c.bmp\"\nBO\nCD 05 0120\n一\n", "CurrentLine",
       "7"},
  };
  for (const auto& c : cases) {
    const ReaderRun run = RunScript(c.script, "state\n");
    EXPECT_EQ(run.State(c.field), c.value) << c.script;
    EXPECT_EQ(run.exit_code, 0);
  }
}

}  // namespace
