// Fields cut inside a double-byte character keep their bytes, but the half character
// at the cut is not drawn: the page label of such a title is that of the whole ones.
#include <gtest/gtest.h>

#include <string>

#include "support/novel.h"

namespace {

std::string Times(int count, const std::string& text) {
  std::string repeated;
  for (int k = 0; k < count; ++k) repeated += text;
  return repeated;
}

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
  int differing = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) differing += cut.pixel(x, y) != kept.pixel(x, y);
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
