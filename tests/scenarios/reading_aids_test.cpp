// Reading aids. The backlog: the paragraphs read (a bounded history) and the choices
// taken, newest at the bottom, over the darkened picture without the page's text;
// scrolled and closed by the wheel, the keys and a click; the page, the reader's state and
// the timers as they were when it closes. Text for
// learners: each paragraph as one UTF-8 line, the current one copied to the clipboard.
// Speech: paragraphs, choices and the highlighted choice said, V turning it on and off.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "reader/read_history.h"

#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;

// The newest paragraph is one character wide, the one before it far wider.
const std::string SCRIPT = "C\n最初の段落\nずっと長い二つ目の段落です\n終\n次\nE\n";
const std::string READ_THREE = "wait 100\nclick 5 5\nwait 100\nclick 5 5\nwait 100\n";

// The widest run of white columns in rows [top, bottom): where a row of text ends.
int RightmostWhite(const Bitmap& shot, int top, int bottom) {
  int right = -1;
  for (int y = top; y < bottom; ++y) {
    for (int x = 0; x < shot.width(); ++x) {
      if (shot.pixel(x, y) == 0xFFFFFF) right = std::max(right, x);
    }
  }
  return right;
}

struct Shots {
  ReaderRun run;
  std::vector<Bitmap> shots;
};

// Runs the events, each "SHOT" replaced by a screenshot.
Shots RunWithShots(const std::string& events, const std::string& script = SCRIPT) {
  Novel novel;
  novel.Write("タイトル.txt", script);
  std::string expanded;
  int count = 0;
  std::istringstream in(events);
  for (std::string line; std::getline(in, line);) {
    if (line == "SHOT") line = "screenshot " + novel.File(std::to_string(count++) + ".png");
    expanded += line + "\n";
  }
  Shots result{RunNovel(novel, expanded), {}};
  for (int k = 0; k < count; ++k) {
    result.shots.push_back(ReadPng(novel.File(std::to_string(k) + ".png")));
  }
  return result;
}

TEST(Backlog, ShowsTheParagraphsNewestAtTheBottomAndRestoresThePage) {
  const Shots s =
      RunWithShots(READ_THREE + "state\nSHOT\nwheel -1\nSHOT\nkey Escape\nSHOT\nstate\n");
  EXPECT_EQ(s.run.Records("backlog"), (Strings{"backlog open", "backlog close"}));
  // The newest, one character, lowest; the wide one above it; the page darkened.
  const int newest_right = RightmostWhite(s.shots[1], 446, 470);
  EXPECT_GT(newest_right, 20);
  EXPECT_LT(newest_right, 50);
  EXPECT_GT(RightmostWhite(s.shots[1], 410, 434), 200);
  EXPECT_EQ(CountPixels(s.shots[1], {0, 0, 640, 370}, 0, false), 0);
  EXPECT_TRUE(std::equal(s.shots[0].row(0), s.shots[0].row(480), s.shots[2].row(0)));
  const Strings states = s.run.Records("state ");
  EXPECT_EQ(Strings(states.begin(), states.begin() + states.size() / 2),
            Strings(states.begin() + states.size() / 2, states.end()));
}

TEST(Backlog, ScrollsBackAndClosesPastTheNewest) {
  const Shots s =
      RunWithShots(READ_THREE + "key PageUp\nkey Up\nSHOT\nwheel 1\nSHOT\nkey Down\nstate\n");
  // One paragraph back, the wide one is lowest; the wheel brings the newest back.
  EXPECT_GT(RightmostWhite(s.shots[0], 446, 470), 200);
  EXPECT_LT(RightmostWhite(s.shots[1], 446, 470), 50);
  EXPECT_EQ(s.run.Records("backlog"), (Strings{"backlog open", "backlog close"}));
  EXPECT_EQ(s.run.State("CurrentLine"), "4");
}

// Thirty paragraphs, more than a page-full: Home shows the oldest at the top with a
// page-full below it, and Page Down the next page-full, its first below the last.
TEST(Backlog, HomeAndPageDownShowWholePagesFromTheTop) {
  std::string script = "C\n", events;
  for (int k = 0; k < 30; ++k) {
    script += "段落" + std::to_string(k) + "\nC\n";
    events += "click 5 5\nwait 100\n";
  }
  const Shots s = RunWithShots(events + "key PageUp\nkey Home\nSHOT\nkey PageDown\nSHOT\n",
                               script + "E\n");
  for (const Bitmap& shot : s.shots) {
    EXPECT_GT(CountPixels(shot, {0, 10, 640, 34}, 0xFFFFFF), 0);
    EXPECT_GT(CountPixels(shot, {0, 400, 640, 470}, 0xFFFFFF), 0);
  }
  EXPECT_FALSE(std::equal(s.shots[0].row(0), s.shots[0].row(480), s.shots[1].row(0)));
  EXPECT_EQ(s.run.Records("backlog"), (Strings{"backlog open", "backlog close"}));
}

TEST(Backlog, AClickClosesItWithoutAdvancing) {
  const Shots s = RunWithShots(READ_THREE + "key Backspace\nclick 5 5\nwait 100\nstate\n");
  EXPECT_EQ(s.run.Records("backlog"), (Strings{"backlog open", "backlog close"}));
  EXPECT_EQ(s.run.State("CurrentLine"), "4");
}

TEST(Backlog, SkipStepsWaitWhileItIsOpenAndTheTimersRunOn) {
  const Shots s = RunWithShots(
      "wait 100\ncommand 520\nwait 10\nkey PageUp\nstate\nwait 200\nstate\n"
      "key Escape\nwait 60\nstate\n");
  EXPECT_EQ(s.run.Values("CurrentLine"), (Strings{"2", "2", "3"}));
  EXPECT_EQ(s.run.Count("timer kill 303"), 0);
}

TEST(Backlog, TheWheelThatOpensItLeavesAutoModeRunning) {
  const ReaderRun run = RunScript("C\n" + Times(20, "段\n") + "E\n",
                                  "wait 100\nkey A\nwheel -1\nwait 3000\nstate\nkey Escape\n"
                                  "wait 1200\nstate\n");
  EXPECT_EQ(run.Values("CurrentLine"), (Strings{"2", "3"}));
  EXPECT_EQ(run.Count("auto off"), 0);
}

TEST(Backlog, TheChoicesTakenAreInItInTheirPlaceInGreen) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n<\n海へ\nSET\n0\"海\"\n1\"山\"\n>\n<\n波の音。\nE\n");
  RunNovel(novel, "wait 100\nclick 1 1\nwait 100\nclick 1 1\nmove 1 112\nclick 1 112\n"
                  "wait 200\nclick 1 1\nwait 100\nkey Up\nscreenshot " + novel.File("b.png"));
  const Bitmap shot = ReadPng(novel.File("b.png"));
  // Bottom up: 波の音。, <, then the choice.
  EXPECT_GT(CountPixels(shot, {0, 370, 640, 400}, 0x00FF00), 20);
  EXPECT_EQ(CountPixels(shot, {0, 400, 640, 480}, 0x00FF00), 0);
}

TEST(ReadHistory, KeepsTheNewestWithTheirNumbers) {
  ReadHistory history;
  for (std::size_t k = 0; k < READ_HISTORY_SIZE + 5; ++k) history.Add(std::to_string(k));
  EXPECT_EQ(history.first(), 5u);
  EXPECT_EQ(history.newest(), READ_HISTORY_SIZE + 4);
  EXPECT_EQ(history.At(5), "5");
  EXPECT_FALSE(history.Holds(4));
  EXPECT_FALSE(history.Holds(READ_HISTORY_SIZE + 5));
}

Strings FileLines(const std::string& path) {
  Strings lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(TextOut, WritesEachParagraphOfAPageWithAChoice) {
  Novel novel;
  novel.Write("タイトル.txt",
              "C\n<\n「海へ行こう」\n\nSET\n0\"海\"\n1\"山\"\n>\n<\n波の音がした。\nE\n", true);
  ReadingOptions options;
  options.text_out_file = novel.File("text.txt");
  const ReaderRun run =
      RunNovel(novel,
               "wait 100\nclick 1 1\nwait 100\nclick 1 1\nmove 1 112\nclick 1 112\nwait 200\n"
               "click 1 1\nwait 100\nkey C\n",
               options);
  // The blank line and the choices are no paragraphs; "<" lines show as text.
  EXPECT_EQ(FileLines(*options.text_out_file),
            (Strings{"<", "「海へ行こう」", "<", "波の音がした。"}));
  EXPECT_EQ(run.Records("clipboard"), (Strings{"clipboard 波の音がした。"}));
}

// A named pipe that nobody reads keeps no page from showing; its lines wait for the
// reader that opens it, and one that reads from the start gets them all in order.
TEST(TextOut, ANamedPipeNeverKeepsTheReaderWaiting) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一。\n\n二。\nE\n");
  ASSERT_EQ(mkfifo(novel.File("pipe").c_str(), 0600), 0);
  ReadingOptions options;
  options.text_out_file = novel.File("pipe");
  const ReaderRun unread = RunNovel(novel, "click 1 1\nwait 100\n", options);
  EXPECT_EQ(unread.exit_code, 0);
  EXPECT_EQ(unread.Count("present"), 3);
  EXPECT_NE(unread.errors.find("nobody reads the text output"), std::string::npos);
  const FileDescriptor reader(open(novel.File("pipe").c_str(), O_RDONLY | O_NONBLOCK));
  RunNovel(novel, "click 1 1\nwait 100\n", options);
  char bytes[64] = {};
  EXPECT_EQ(std::string(bytes, static_cast<std::size_t>(read(reader.get(), bytes, sizeof bytes))),
            "一。\n二。\n");
}

// Each paragraph as it appears, the choices in order with the digits of their keys,
// the highlighted choice as the highlight moves; V stops it, and brings the page's
// newest paragraph back when it turns speech on again. The strip shows it while on.
TEST(Speech, SaysParagraphsChoicesAndTheHighlightWhileOn) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一つ目。\n二つ目。\nSET\n0\"海\"\n1\"山\"\n>\n");
  ReadingOptions options;
  options.speak = true;
  const auto shot = [&novel](const char* name) { return "screenshot " + novel.File(name) + "\n"; };
  const ReaderRun run = RunNovel(novel,
                                 "wait 100\nclick 1 1\nwait 100\nclick 1 1\nwait 200\nmove 1 112\n"
                                 "key Down\nkey V\n" + shot("off.png") + "key Up\nkey V\n" +
                                     shot("on.png"),
                                 options);
  EXPECT_EQ(run.Records("speak"), (Strings{"speak 一つ目。", "speak 二つ目。", "speak 0 海",
                                          "speak 1 山", "speak 0 海", "speak 1 山",
                                          "speak 二つ目。"}));
  const RECT indicator{120, 460, 220, 480};
  EXPECT_EQ(CountPixels(ReadPng(novel.File("off.png")), indicator, 0x00FF00), 0);
  EXPECT_GT(CountPixels(ReadPng(novel.File("on.png")), indicator, 0x00FF00), 10);
}

}  // namespace
