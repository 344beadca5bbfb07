// Paragraphs longer than 255 bytes: read in pieces that never begin with half a
// character, while a command behind 255 single-byte characters is still a command.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

TEST(LongLines, PiecesBeginWithWholeCharacters) {
  const struct { std::string script, field, want; } cases[] = {
      // イ ends in the byte of "C": cut inside it, the second piece would clear the page.
      {"C\n" + Times(150, "イ") + "\nE\n", "PageNumber", "1"},
      {"C\n" + std::string(255, 'a') + "T 章\nE\n", "ChapterTitle", "章"},
  };
  for (const auto& c : cases) {
    Novel novel;
    novel.Write("タイトル.txt", c.script);
    const ReaderRun run = RunNovel(novel, "wait 100\nclick 1 1\nwait 100\nclick 1 1\nstate\n");
    EXPECT_EQ(run.State("Mode") + " " + run.State(c.field), "ModeFinished " + c.want);
  }
}

}  // namespace
