// Full screen: the 640 x 480 mode of the display, the check mark that follows it,
// and the display restored on the way out.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

std::string MenuCheck(const ReaderRun& run, int opening) {
  int seen = -1;
  for (const std::string& record : run.Records("menu ")) {
    if (record.rfind("menu open", 0) == 0) ++seen;
    if (seen == opening && record.find(" 400 ") != std::string::npos) return record;
  }
  return "";
}

TEST(FullScreen, TheCheckMarkFollowsTheState) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\nE\n");
  ReaderRun run = RunNovel(novel,
                           "rclick 5 5\npick 400\nstate\nrclick 5 5\npick 400\nstate\nrclick 5 5\npick none\n");
  EXPECT_EQ(MenuCheck(run, 0), "menu item 0 400 フルスクリーン");
  EXPECT_EQ(MenuCheck(run, 1), "menu item 0 400 checked フルスクリーン");
  EXPECT_EQ(MenuCheck(run, 2), "menu item 0 400 フルスクリーン");
  // The headless display offers 1024 x 768 first: the search takes the second mode.
  EXPECT_EQ(run.Records("display"), (std::vector<std::string>{"display change 640x480", "display restore",
                                                              "display restore"}));
  EXPECT_EQ(run.Records("state IsFullScreen="), (std::vector<std::string>{"state IsFullScreen=1",
                                                                         "state IsFullScreen=0"}));
}

TEST(FullScreen, ExitInFullScreenRestoresTheDisplay) {
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\n二\nE\n");
  ReaderRun run = RunNovel(novel, "command 400\nrclick 5 5\npick 401\n");
  EXPECT_EQ(run.Records("display"), (std::vector<std::string>{"display change 640x480", "display restore"}));
  EXPECT_EQ(run.Records("quit"), (std::vector<std::string>{"quit 0"}));
}

TEST(FullScreen, AMenuInFullScreenOpensAtThePointer) {
  // Without a caption the client area starts at the screen's corner.
  Novel novel;
  novel.Write("タイトル.txt", "C\n一\nE\n");
  ReaderRun run = RunNovel(novel, "command 400\nrclick 30 40\npick none\n");
  EXPECT_EQ(run.Count("menu open 30 40"), 1);
}

}  // namespace
