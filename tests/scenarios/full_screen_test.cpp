// Full screen: the 640 x 480 mode of the display, the check mark that follows it,
// and the display restored on the way out.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;
const std::string SCRIPT = "C\n一\n二\nE\n";

TEST(FullScreen, TheCheckMarkFollowsTheState) {
  const ReaderRun run = RunScript(SCRIPT, "rclick 5 5\npick 400\nstate\nrclick 5 5\npick 400\n"
                                          "state\nrclick 5 5\npick none\n");
  Strings marks;
  for (const std::string& item : run.Records("menu item 0 400")) marks.push_back(item.substr(16));
  EXPECT_EQ(marks, (Strings{"フルスクリーン", "checked フルスクリーン", "フルスクリーン"}));
  // The headless display offers 1024 x 768 first: the search takes the second mode.
  EXPECT_EQ(run.Records("display"),
            (Strings{"display change 640x480", "display restore", "display restore"}));
  EXPECT_EQ(run.Values("IsFullScreen"), (Strings{"1", "0"}));
}

TEST(FullScreen, TheExitInFullScreenRestoresTheDisplay) {
  const ReaderRun run = RunScript(SCRIPT, "command 400\nrclick 5 5\npick 401\n");
  EXPECT_EQ(run.Records("display"), (Strings{"display change 640x480", "display restore"}));
  EXPECT_EQ(run.Records("quit"), (Strings{"quit 0"}));
}

TEST(FullScreen, AMenuInFullScreenOpensAtThePointer) {
  // Without a caption the client area starts at the screen's corner.
  const ReaderRun run = RunScript(SCRIPT, "command 400\nrclick 30 40\npick none\n");
  EXPECT_EQ(run.Count("menu open 30 40"), 1);
}

}  // namespace
