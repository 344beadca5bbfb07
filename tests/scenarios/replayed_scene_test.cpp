// A page opened from a bookmark right after start-up comes back over the picture it
// was read over, hatched where a "BO" line followed it, and with its MIDI music.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "support/bmp_writer.h"
#include "support/novel.h"

namespace {

std::string Flat(int width, int height, std::uint32_t colour) {
  Bitmap picture(width, height);
  std::fill(picture.row(0), picture.row(0) + width * height, colour);
  return Bmp24(picture);
}

// The start-up stops on page 1; then the bookmark opens page 3, which the last "C" begins.
ReaderRun OpenPageThree(Novel& novel, const std::string& script, const std::string& after = "") {
  novel.Write("タイトル.txt", "C\n一\n" + script + "C\n三\nE\n");
  novel.Write("しおり.sio", "印,3,タイトル.txt\n");
  return RunNovel(novel, "command 605\n" + after);
}

TEST(ReplayedScene, PicturesAndHatchesInFrontOfThePageMakeItsBackground) {
  Novel novel;
  novel.WriteBytes("covered.bmp", Flat(640, 480, 0xFFFFFF));
  novel.WriteBytes("page.bmp", Flat(640, 480, 0x102030));
  novel.WriteBytes("corner.bmp", Flat(320, 240, 0x405060));
  OpenPageThree(novel, "BMP \"covered.bmp\"\nBMP \"page.bmp\"\nC\n二\nBMP \"corner.bmp\"\nBO\n",
                "surface " + novel.File("surface.png") + "\n");
  const Bitmap surface = ReadPng(novel.File("surface.png"));
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const std::uint32_t picture = x < 320 && y < 240 ? 0x405060 : 0x102030;
      ASSERT_EQ(surface.pixel(x, 480 + y), (x + y) % 2 == 0 ? 0 : picture) << x << "," << y;
    }
  }
}

TEST(ReplayedScene, TheLastMidiLineInFrontOfThePagePlays) {
  const std::string open = "mci open \"@\\b.mid\" type sequencer alias midi";  // @: the novel
  const struct { std::string script; std::vector<std::string> midi; } cases[] = {
      {"MID 0030 \"a.mid\"\nC\n二\nMID 0040 \"b.mid\"\n",
       {"mci close midi", open, "mci seek midi to start", "mci play midi", "timer set 300 40000"}},
      {"MID 0030 \"a.mid\"\nCD 00 0000\nC\n二\n", {}},  // the CD line closed it before the page
      {"C\n二\n", {}},
  };
  for (const auto& c : cases) {
    Novel novel;
    std::vector<std::string> midi;
    for (std::string record : OpenPageThree(novel, c.script).Records("")) {
      const bool music = record.find("midi") != std::string::npos;
      if (!music && record.rfind("timer set 300", 0) != 0) continue;
      const std::size_t at = record.find(novel.path());
      if (at != std::string::npos) record.replace(at, novel.path().size(), "@");
      midi.push_back(record);
    }
    EXPECT_EQ(midi, c.midi) << c.script;
  }
}

}  // namespace
