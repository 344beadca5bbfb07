// The context menu: its tree as built from the current labels, and the command
// that a pick sends after it closes.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

std::string Script() { return "C\n一\n二\n三\n四\n五\n六\nE\n"; }

TEST(ContextMenu, OpensOnTheRightReleaseWithTheWholeTree) {
  Novel novel;
  novel.Write("タイトル.txt", Script());
  ReaderRun run = RunNovel(novel, "rclick 100 50\npick none\n");
  const std::vector<std::string> items = run.Records("menu ");
  // The window is centred on the 1024 x 768 display below an 18-pixel caption.
  ASSERT_FALSE(items.empty());
  EXPECT_EQ(items[0], "menu open 292 214");
  const std::vector<std::string> expected = {
      "menu item 0 popup 目次",
      "menu item 0 popup しおり",
      "menu item 1 popup 保存",
      "menu item 2 600 NO DATA", "menu item 2 601 NO DATA", "menu item 2 602 NO DATA",
      "menu item 2 603 NO DATA", "menu item 2 604 NO DATA",
      "menu item 1 popup 開く",
      "menu item 2 605 NO DATA", "menu item 2 606 NO DATA", "menu item 2 607 NO DATA",
      "menu item 2 608 NO DATA", "menu item 2 609 NO DATA",
      "menu item 0 separator",
      "menu item 0 400 フルスクリーン",
      "menu item 0 separator",
      "menu item 0 520 スキップ",
      "menu item 0 800 １ページ戻る",
      "menu item 0 separator",
      "menu item 0 700 キャンセル",
      "menu item 0 separator",
      "menu item 0 401 終了",
  };
  EXPECT_EQ(std::vector<std::string>(items.begin() + 1, items.end()), expected);
}

TEST(ContextMenu, APickArrivesAsACommandAfterTheMenuCloses) {
  Novel novel;
  novel.Write("タイトル.txt", Script());
  ReaderRun run = RunNovel(novel, "wait 100\nrclick 5 5\npick 520\nwait 120\nstate\n");
  // The right press stops nothing yet; the pick starts skip mode.
  EXPECT_EQ(run.Count("timer set 303 50"), 1);
  EXPECT_EQ(run.StateNumber("SkipMode"), 1);
  EXPECT_EQ(run.StateNumber("CurrentLine"), 4);
}

TEST(ContextMenu, ClosingWithoutAPickChangesNothing) {
  Novel novel;
  novel.Write("タイトル.txt", Script());
  ReaderRun closed = RunNovel(novel, "rclick 5 5\nstate\nrclick 5 5\npick none\nstate\nrclick 5 5\npick 700\nstate\n");
  for (const std::string& line : closed.Records("state CurrentLine=")) EXPECT_EQ(line, "state CurrentLine=2");
  EXPECT_EQ(closed.Count("menu open 197 169"), 3);
  EXPECT_EQ(closed.exit_code, 0);
}

TEST(ContextMenu, MenuKeyAndShiftF10OpenItToo) {
  Novel novel;
  novel.Write("タイトル.txt", Script());
  ReaderRun run = RunNovel(novel, "key Menu\npick none\nkey Shift+F10\npick none\nkey F10\n");
  EXPECT_EQ(run.Count("menu open 65535 65535"), 2);
}

TEST(ContextMenu, PickingAnItemThatIsNotThereIsAnError) {
  Novel novel;
  novel.Write("タイトル.txt", Script());
  ReaderRun run = RunNovel(novel, "rclick 5 5\npick 502\n");
  EXPECT_EQ(run.exit_code, 2);
  EXPECT_NE(run.errors.find("line 2"), std::string::npos);
}

}  // namespace
