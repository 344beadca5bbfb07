// Choices on a page reached again by back one page or a bookmark: they look up the
// block that reading forward reaches there, so a choice always moves the story on.
#include <gtest/gtest.h>

#include <string>

#include "support/novel.h"

namespace {

// Page 1 ends in a choice that moves on to line 8; line 7 is never run.
const std::string STORY = "C\n一\n<\nSET\n0\"海\"\n1\"山\"\n>\n外\n<\n海一\nC\n海二\nC\n海三\nE\n";
const std::string STEP = "wait 100\nclick 1 1\n";
const std::string CHOOSE = STEP + STEP + "move 10 110\nclick 10 110\n";  // from line 2
const std::string READ_PAST = CHOOSE + STEP + STEP;                        // to page 2

struct Case {
  std::string script, bookmark_page, events, want;  // want: CurrentLine ChoiceBlockIndex Page
};

TEST(ChoicesAfterReplay, MoveOnFromTheBlockOfTheReplayedPage) {
  const Case cases[] = {
      {STORY, "1", READ_PAST + "command 800\n" + CHOOSE, "9 1 1"},  // back one page
      {STORY, "1", READ_PAST + "command 605\n" + CHOOSE, "9 1 1"},  // a bookmark
      {STORY, "2", "command 605\n", "12 1 2"},                       // after the choice's block
      // A choice that ended the script past the table: back one page is one page back.
      {"C\n一\nC\n<\nSET\n0\"海\"\n1\"山\"\n", "1", CHOOSE + STEP + "command 800\n", "2 0 1"},
  };
  for (const Case& c : cases) {
    Novel novel;
    novel.Write("タイトル.txt", c.script);
    novel.Write("しおり.sio", "印," + c.bookmark_page + ",タイトル.txt\n");
    const ReaderRun run = RunNovel(novel, c.events + "wait 100\nstate\n");
    EXPECT_EQ(run.State("CurrentLine") + " " + run.State("ChoiceBlockIndex") + " " +
                  run.State("PageNumber"), c.want) << c.events;
  }
}

}  // namespace
