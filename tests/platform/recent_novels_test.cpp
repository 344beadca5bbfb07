// The novels opened last: absolute paths, each once, the newest first, ten at most.
#include "platform/files/recent_novels.h"

#include <gtest/gtest.h>

namespace {

TEST(RecentNovels, KeepTenAbsolutePathsOnceEachNewestFirst) {
  using Paths = std::vector<std::string>;
  EXPECT_EQ(ParseRecentNovels("/a\n\nrelative\n/b.zip\n/a\n/c"), (Paths{"/a", "/b.zip", "/c"}));
  Paths recent;
  for (int k = 0; k < 12; ++k) recent = WithRecentNovel(recent, "/" + std::to_string(k));
  EXPECT_EQ(recent.size(), RECENT_NOVELS_MAX);
  EXPECT_EQ(recent.front(), "/11");
  EXPECT_EQ(recent.back(), "/2");
  EXPECT_EQ(WithRecentNovel(recent, "/5")[0], "/5");
}

}  // namespace
