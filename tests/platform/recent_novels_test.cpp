// The novels opened last: absolute paths, each once, the newest first, ten at most, each
// with the title it showed; a line of an older list is a path alone.
#include "platform/files/recent_novels.h"

#include <gtest/gtest.h>

namespace {

using Novels = std::vector<RecentNovel>;

TEST(RecentNovels, KeepTenAbsolutePathsOnceEachNewestFirstWithTheirTitles) {
  EXPECT_EQ(ParseRecentNovels("/a\n\nrelative\n/b\t.zip\t岬の家\n/a\tA\n/c\t"),
            (Novels{{"/a", ""}, {"/b\t.zip", "岬の家"}, {"/c", ""}}));
  Novels recent;
  for (int k = 0; k < 12; ++k) recent = WithRecentNovel(recent, {"/" + std::to_string(k), "T"});
  EXPECT_EQ(recent.size(), RECENT_NOVELS_MAX);
  EXPECT_EQ(recent.front().path, "/11");
  EXPECT_EQ(recent.back().path, "/2");
  // Opened again without a title, a novel keeps the one it showed; a tab in one is a blank.
  EXPECT_EQ(WithRecentNovel(recent, {"/5", ""})[0], (RecentNovel{"/5", "T"}));
  EXPECT_EQ(WithRecentNovel(recent, {"/5", "a\tb"})[0], (RecentNovel{"/5", "a b"}));
}

}  // namespace
