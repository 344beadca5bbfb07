// Page replay through the commands that use it, opening a bookmark and going back one
// page: the page's state, its picture and music, and the choices on it.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/bmp_writer.h"
#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;

// Runs the start-up, then opens slot 0 of a bookmark file that names page_text.
ReaderRun OpenPage(const std::string& script, const std::string& page_text,
                   const std::string& after = "", const Novel& novel = Novel()) {
  novel.Write("タイトル.txt", script);
  novel.Write("しおり.sio", "印," + page_text + ",タイトル.txt\n");
  return RunNovel(novel, "state\ncommand 605\nstate\n" + after);
}

TEST(Replay, OpeningAPageRestoresItsState) {
  const struct {
    std::string script, page;
    Strings want;
  } cases[] = {
      // Fifteen lines fill a page: page 3 began at line 31 by overflow; it is drawn,
      // and the run stops behind it.
      {"C\n" + Times(40, "一\n"), "3", {"PageNumber=3", "CurrentLine=32", "TextTop=34"}},
      // The replay stops at line 0 with page 0; the run's page clear makes it 1.
      {"C\n一\n二\n", "1", {"PageNumber=1", "CurrentLine=2"}},
      {"C\n一\n二\n", "0", {"PageNumber=0", "CurrentLine=2"}},  // below one: no search, -1, 0
      {"一\nC\n二\n", "NaN", {"PageNumber=0", "CurrentLine=1"}},
      // In a run "FC" sets only the brightness; the replay reads it as a font size of 0.
      {"F1\n一\nFC50\nC\n二\n三\n", "1",
       {"FontHeight=24", "TextBrightness=100", "PageNumber=1", "CurrentLine=5"}},
      {"T 一章\nM\nC\n一\nT 二章\n/\nM\nC\n二\n三\n", "2",
       {"ChapterTitle=二章", "Caption=二章", "FadeMode=1", "PageNumber=2", "CurrentLine=9"}},
      // ASCII lines never overflow in the replay, so page 2 is the second "C".
      {"C\n" + Times(40, "abc\n") + "C\n一\n", "2", {"PageNumber=2", "CurrentLine=43"}},
      {"C\n一\nC\n二\n", "99", {"PageNumber=99", "CurrentLine=4"}},  // the last page start
  };
  for (const auto& c : cases) {
    const ReaderRun run = OpenPage(c.script, c.page);
    for (const std::string& want : c.want) {
      const std::string name = want.substr(0, want.find('='));
      EXPECT_EQ(name + "=" + run.State(name), want) << c.script << " page " << c.page;
    }
  }
  for (const char* page : {"-2147483648", "2147483647"}) {
    EXPECT_EQ(OpenPage("C\n一\n", page, "wait 100\ncommand 800\nstate\n").exit_code, 0);
  }
}

TEST(Replay, TheOpenedPageLooksAsTheReadPage) {
  Novel novel;
  novel.Write("タイトル.txt", "T 章\nC\n" + Times(40, "一\n"));
  novel.Write("しおり.sio", "印,3,タイトル.txt\n");
  const std::string read = novel.File("read.png"), opened = novel.File("opened.png");
  RunNovel(novel, Times(30, "wait 100\nclick 5 5\n") + "screenshot " + read + "\n");
  const ReaderRun run = RunNovel(novel, "command 605\nscreenshot " + opened + "\nstate\n");
  EXPECT_EQ(run.StateNumber("PageNumber"), 3);
  const Bitmap read_page = ReadPng(read), opened_page = ReadPng(opened);
  EXPECT_TRUE(std::equal(read_page.row(0), read_page.row(480), opened_page.row(0)));
  EXPECT_GT(CountPixels(opened_page, {250, 440, 640, 460}, 0, false), 0);  // the label
}

TEST(Replay, BackOnePageShowsThePageBeforeFromItsFirstParagraph) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\nC\n三\n四\n");
  const ReaderRun run = RunNovel(novel, "state\ncommand 800\nstate\n" +
                                            Times(3, "wait 100\nclick 5 5\n") +
                                            "state\ncommand 800\nstate\n");
  // Nothing happens on page 1; from page 2 it is page 1 again with its first
  // paragraph drawn.
  EXPECT_EQ(run.Values("CurrentLine"), (Strings{"2", "2", "6", "2"}));
  EXPECT_EQ(run.Values("PageNumber"), (Strings{"1", "1", "2", "1"}));
  novel.Write("タイトル.txt", "一\n二\n三\n");  // from page 0 it goes below zero
  const ReaderRun zero = RunNovel(novel, "command 800\nstate\n");
  EXPECT_EQ(zero.State("PageNumber") + " " + zero.State("CurrentLine"), "-1 1");
}

std::string Flat(int width, int height, std::uint32_t colour) {
  Bitmap picture(width, height);
  std::fill(picture.row(0), picture.row(height), colour);
  return Bmp24(picture);
}

// Page 3 is the last "C"'s, behind the lines of the case.
std::string BeforePageThree(const std::string& lines) { return "C\n一\n" + lines + "C\n三\nE\n"; }

TEST(Replay, PicturesAndHatchesInFrontOfThePageMakeItsBackground) {
  Novel novel;
  novel.WriteBytes("covered.bmp", Flat(640, 480, 0xFFFFFF));
  novel.WriteBytes("page.bmp", Flat(640, 480, 0x102030));
  novel.WriteBytes("corner.bmp", Flat(320, 240, 0x405060));
  const std::string lines =
      "BMP \"covered.bmp\"\nBMP \"page.bmp\"\nC\n二\nBMP \"corner.bmp\"\nBO\n";
  OpenPage(BeforePageThree(lines), "3", "surface " + novel.File("surface.png") + "\n", novel);
  const Bitmap surface = ReadPng(novel.File("surface.png"));
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      const std::uint32_t picture = x < 320 && y < 240 ? 0x405060 : 0x102030;
      ASSERT_EQ(surface.pixel(x, 480 + y), (x + y) % 2 == 0 ? 0 : picture) << x << "," << y;
    }
  }
}

TEST(Replay, TheLastMidiLineInFrontOfThePagePlays) {
  const std::string open = "mci open \"@\\b.mid\" type sequencer alias midi";  // @: the novel
  const struct {
    std::string lines;
    Strings midi;
  } cases[] = {
      {"MID 0030 \"a.mid\"\nC\n二\nMID 0040 \"b.mid\"\n",
       {"mci close midi", open, "mci seek midi to start", "mci play midi", "timer set 300 40000"}},
      {"MID 0030 \"a.mid\"\nCD 00 0000\nC\n二\n", {}},  // the CD line closed it before the page
      {"C\n二\n", {}},
  };
  for (const auto& c : cases) {
    Novel novel;
    // The start-up stops on page 1, before every music line: all of it is the replay's.
    Strings midi;
    for (std::string record : OpenPage(BeforePageThree(c.lines), "3", "", novel).Records("")) {
      const bool music = record.find("midi") != std::string::npos;
      if (!music && record.rfind("timer set 300", 0) != 0) continue;
      if (const std::size_t at = record.find(novel.path()); at != std::string::npos) {
        record.replace(at, novel.path().size(), "@");
      }
      midi.push_back(record);
    }
    EXPECT_EQ(midi, c.midi) << c.lines;
  }
}

// Choices on a page reached again look up the block that reading forward reaches
// there, so a choice always moves the story on.
TEST(Replay, ChoicesMoveOnFromTheBlockOfTheReplayedPage) {
  // Page 1 ends in a choice that moves on to line 8; line 7 is never run.
  const std::string story =
      "C\n一\n<\nSET\n0\"海\"\n1\"山\"\n>\n外\n<\n海一\nC\n海二\nC\n海三\nE\n";
  const std::string step = "wait 100\nclick 1 1\n";
  const std::string choose = step + step + "move 10 110\nclick 10 110\n";  // from line 2
  const std::string read_past = choose + step + step;                        // to page 2
  const struct {
    std::string script, bookmark_page, events, want;  // CurrentLine ChoiceBlockIndex Page
  } cases[] = {
      {story, "1", read_past + "command 800\n" + choose, "9 1 1"},  // back one page
      {story, "1", read_past + "command 605\n" + choose, "9 1 1"},  // a bookmark
      {story, "2", "command 605\n", "12 1 2"},                       // after the choice's block
      // A choice that ended the script past the table: back one page is one page back.
      {"C\n一\nC\n<\nSET\n0\"海\"\n1\"山\"\n", "1", choose + step + "command 800\n", "2 0 1"},
  };
  for (const auto& c : cases) {
    Novel novel;
    novel.Write("タイトル.txt", c.script);
    novel.Write("しおり.sio", "印," + c.bookmark_page + ",タイトル.txt\n");
    const ReaderRun run = RunNovel(novel, c.events + "wait 100\nstate\n");
    EXPECT_EQ(run.State("CurrentLine") + " " + run.State("ChoiceBlockIndex") + " " +
                  run.State("PageNumber"),
              c.want)
        << c.events;
  }
}

}  // namespace
