// Paragraphs longer than 255 bytes: read in pieces that never begin with half a
// character, while a command behind 255 single-byte characters is still a command.
#include <gtest/gtest.h>

#include <string>

#include "support/novel.h"

namespace {

std::string Times(int count, const std::string& text) {
  std::string repeated;
  for (int k = 0; k < count; ++k) repeated += text;
  return repeated;
}

TEST(LongLines, PiecesBeginWithWholeCharacters) {
  const struct { std::string script, field, want; } cases[] = {
      // イ ends in the byte of "C": cut inside it, the second piece would clear the page.
      {"C\n" + Times(150, "イ") + "\nE\n", "PageNumber", "1"},
      {"C\n" + Times(255, "a") + "T 章\nE\n", "ChapterTitle", "章"},
  };
  for (const auto& c : cases) {
    Novel novel;
    novel.Write("タイトル.txt", c.script);
    const ReaderRun run = RunNovel(novel, "wait 100\nclick 1 1\nwait 100\nclick 1 1\nstate\n");
    EXPECT_EQ(run.State("Mode"), "ModeFinished");
    EXPECT_EQ(run.State(c.field), c.want);
  }
}

}  // namespace
