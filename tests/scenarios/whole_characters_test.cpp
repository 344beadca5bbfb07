// Double-byte characters stay whole: paragraphs longer than 255 bytes are read in
// pieces that never begin with half a character, and the half character that a
// field's cut leaves is not drawn.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/novel.h"

namespace {

TEST(WholeCharacters, LongLinesArePiecesThatBeginWithWholeCharacters) {
  const struct {
    std::string script, field, want;
  } cases[] = {
      // イ ends in the byte of "C": cut inside it, the second piece would clear the page.
      {"C\n" + Times(150, "イ") + "\nE\n", "PageNumber", "1"},
      // A command behind 255 single-byte characters is still a command.
      {"C\n" + std::string(255, 'a') + "T 章\nE\n", "ChapterTitle", "章"},
  };
  for (const auto& c : cases) {
    const ReaderRun run = RunScript(c.script, "wait 100\nclick 1 1\nwait 100\nclick 1 1\nstate\n");
    EXPECT_EQ(run.State("Mode") + " " + run.State(c.field), "ModeFinished " + c.want);
  }
}

TEST(WholeCharacters, ATitleCutInsideACharacterLabelsThePageWithItsWholeCharacters) {
  // 54 bytes and the lead byte of い fill the 55 bytes of the title.
  const std::string whole = Times(26, "あ") + "xy";
  const Bitmap cut = Screenshot("T " + whole + "い\nC\n一\n", "");
  const Bitmap kept = Screenshot("T " + whole + "\nC\n一\n", "");
  EXPECT_TRUE(std::equal(cut.row(0), cut.row(480), kept.row(0)));
}

}  // namespace
