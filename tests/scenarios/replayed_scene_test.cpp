// A page opened from a bookmark right after start-up comes back over the picture it
// was read over, hatched where a "BO" line followed it, and with its MIDI music.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/bmp_writer.h"
#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;

constexpr std::uint32_t PAGE_PICTURE = 0x102030;
constexpr std::uint32_t CORNER_PICTURE = 0x405060;

std::string Flat(int width, int height, std::uint32_t colour) {
  Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.set_pixel(x, y, colour);
  }
  return Bmp24(picture);
}

// Runs the start-up on page 1, then opens the bookmark of the page that line "C" begins.
ReaderRun OpenPageThree(Novel& novel, const std::string& script, const std::string& after = "") {
  novel.Write("タイトル.txt", "C\n一\n" + script + "C\n三\nE\n");
  novel.Write("しおり.sio", "印,3,タイトル.txt\n");
  return RunNovel(novel, "command 605\n" + after);
}

TEST(ReplayedScene, PicturesAndHatchesInFrontOfThePageMakeItsBackground) {
  Novel novel;
  novel.WriteBytes("covered.bmp", Flat(640, 480, 0xFFFFFF));
  novel.WriteBytes("page.bmp", Flat(640, 480, PAGE_PICTURE));
  novel.WriteBytes("corner.bmp", Flat(320, 240, CORNER_PICTURE));
  OpenPageThree(novel, "BMP \"covered.bmp\"\nBMP \"page.bmp\"\nC\n二\nBMP \"corner.bmp\"\nBO\n",
                "surface " + novel.File("surface.png") + "\n");
  const Bitmap surface = ReadPng(novel.File("surface.png"));
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const std::uint32_t picture = x < 320 && y < 240 ? CORNER_PICTURE : PAGE_PICTURE;
      ASSERT_EQ(surface.pixel(x, 480 + y), (x + y) % 2 == 0 ? 0 : picture) << x << "," << y;
    }
  }
}

TEST(ReplayedScene, TheLastMidiLineInFrontOfThePagePlays) {
  const std::string open = "mci open \"%\\b.mid\" type sequencer alias midi";  // % the novel
  const struct { std::string script; Strings midi; } cases[] = {
      {"MID 0030 \"a.mid\"\nC\n二\nMID 0040 \"b.mid\"\n",
       {"mci close midi", open, "mci seek midi to start", "mci play midi", "timer set 300 40000"}},
      {"MID 0030 \"a.mid\"\nCD 00 0000\nC\n二\n", {}},  // the CD line closed it before the page
      {"C\n二\n", {}},
  };
  for (const auto& c : cases) {
    Novel novel;
    Strings midi;
    for (const std::string& record : OpenPageThree(novel, c.script).Records("")) {
      if (record.find("midi") != std::string::npos || record.find("timer set 300") == 0) {
        midi.push_back(record);
      }
    }
    Strings want = c.midi;
    if (!want.empty()) want[1].replace(want[1].find('%'), 1, novel.path());
    EXPECT_EQ(midi, want) << c.script;
  }
}

}  // namespace
