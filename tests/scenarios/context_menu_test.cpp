// The context menu: its tree as built from the current labels, the command that a pick
// sends after it closes; full screen, its check mark and the display restored.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

using Strings = std::vector<std::string>;
const std::string SCRIPT = "C\n一\n二\n三\n四\n五\n六\nE\n";

TEST(ContextMenu, OpensOnTheRightReleaseWithTheWholeTree) {
  const Strings items = RunScript(SCRIPT, "rclick 100 50\npick none\n").Records("menu ");
  const Strings slots = {"NO DATA", "NO DATA", "NO DATA", "NO DATA", "NO DATA"};
  Strings expected = {
      // The window is centred on the 1024 x 768 display below an 18-pixel caption.
      "menu open 292 214", "menu item 0 popup 目次", "menu item 0 popup しおり",
      "menu item 1 popup 保存"};
  for (int slot = 0; slot < 5; ++slot) {
    expected.push_back("menu item 2 " + std::to_string(600 + slot) + " " + slots[slot]);
  }
  expected.push_back("menu item 1 popup 開く");
  for (int slot = 0; slot < 5; ++slot) {
    expected.push_back("menu item 2 " + std::to_string(605 + slot) + " " + slots[slot]);
  }
  for (const char* item :
       {"separator", "400 フルスクリーン", "separator", "520 スキップ", "800 １ページ戻る",
        "separator", "700 キャンセル", "separator", "401 終了"}) {
    expected.push_back(std::string("menu item 0 ") + item);
  }
  EXPECT_EQ(items, expected);
}

TEST(ContextMenu, APickArrivesAsACommandAfterTheMenuCloses) {
  const ReaderRun run = RunScript(SCRIPT, "wait 100\nrclick 5 5\npick 520\nwait 120\nstate\n");
  // The right press stops nothing yet; the pick starts skip mode.
  EXPECT_EQ(run.Count("timer set 303 50"), 1);
  EXPECT_EQ(run.State("SkipMode") + " " + run.State("CurrentLine"), "1 4");
}

TEST(ContextMenu, ClosingWithoutAPickChangesNothing) {
  const ReaderRun run = RunScript(
      SCRIPT, "rclick 5 5\nstate\nrclick 5 5\npick none\nstate\nrclick 5 5\npick 700\nstate\n");
  EXPECT_EQ(run.Values("CurrentLine"), (Strings{"2", "2", "2"}));
  EXPECT_EQ(run.Count("menu open 197 169"), 3);
  EXPECT_EQ(run.exit_code, 0);
}

TEST(ContextMenu, TheMenuKeyAndShiftF10OpenItToo) {
  const ReaderRun run =
      RunScript(SCRIPT, "move 5 5\nkey Menu\npick none\nkey Shift+F10\npick none\nkey F10\n");
  EXPECT_EQ(run.Count("menu open 197 169"), 2);  // at the pointer, as the right button's
}

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

// Without a caption the client area starts at the screen's corner; the exit restores
// the display.
TEST(FullScreen, AMenuOpensAtThePointerAndTheExitRestoresTheDisplay) {
  const ReaderRun run = RunScript(SCRIPT, "command 400\nrclick 30 40\npick 401\n");
  EXPECT_EQ(run.Count("menu open 30 40"), 1);
  EXPECT_EQ(run.Records("display"), (Strings{"display change 640x480", "display restore"}));
  EXPECT_EQ(run.Records("quit"), (Strings{"quit 0"}));
}

}  // namespace
