// Fields cut inside a double-byte character keep their bytes, but the half character
// at the cut is not drawn: the page label of such a title is that of the whole ones.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/novel.h"

namespace {

Bitmap PageOneOf(const std::string& title) {
  Novel novel;
  novel.Write("タイトル.txt", "T " + title + "\nC\n一\n");
  RunNovel(novel, "screenshot " + novel.File("page.png") + "\n");
  return ReadPng(novel.File("page.png"));
}

TEST(HalfCharacters, ATitleCutInsideACharacterLabelsThePageWithItsWholeCharacters) {
  // 54 bytes and the lead byte of い fill the 55 bytes of the title.
  const std::string whole = Times(26, "あ") + "xy";
  const Bitmap cut = PageOneOf(whole + "い"), kept = PageOneOf(whole);
  EXPECT_TRUE(std::equal(cut.row(0), cut.row(0) + 640 * 480, kept.row(0)));
}

}  // namespace
