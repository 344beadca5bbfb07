// Scripts saved in UTF-8 are read as their Shift-JIS form would be.
#include <gtest/gtest.h>

#include "support/novel.h"

namespace {

TEST(Utf8Scripts, ReadAsTheirShiftJisForm) {
  const std::string script =
      "T 第一章　①\nC\n　一行目、表とソ。\nFC 70\nSET\n0\"はい\"\n1\"いいえ\"\n<\n>\nE\n";
  const std::string contents = "一　始まり,タイトル.txt\n";
  const std::string events =
      "wait 100\nclick 1 1\nwait 100\nclick 1 1\nwait 100\nstate\nscreenshot ";
  for (const std::string mark : {"", "\xEF\xBB\xBF"}) {
    Novel shift_jis, utf8;
    shift_jis.Write("タイトル.txt", script);
    shift_jis.Write("ファイル.txt", contents);
    utf8.WriteBytes("タイトル.txt", mark + script);
    utf8.WriteBytes("ファイル.txt", mark + contents);
    const ReaderRun expected = RunNovel(shift_jis, events + shift_jis.File("page.png") + "\n");
    const ReaderRun run = RunNovel(utf8, events + utf8.File("page.png") + "\n");
    EXPECT_EQ(run.Records("state"), expected.Records("state"));
    EXPECT_EQ(run.State("ChapterTitle"), "第一章　①");
    EXPECT_TRUE(ReadBytes(utf8.File("page.png")) == ReadBytes(shift_jis.File("page.png")));
  }
}

// A character that Shift-JIS lacks is 〓, and so is one cut short before a line end: the
// "E" behind it still ends the script. The reader says where each stands.
TEST(Utf8Scripts, ACharacterWithoutShiftJisFormOrCutShortIsGeta) {
  Novel novel;
  novel.WriteBytes("タイトル.txt",
                   "\xEF\xBB\xBF" "T 😀の章\r\nC\r\n　一\xE3\r\nE\r\n　見えない。\r\n");
  const ReaderRun run = RunNovel(novel, "wait 100\nclick 1 1\nwait 100\nstate\n");
  EXPECT_EQ(run.State("ChapterTitle") + " " + run.State("Mode"), "〓の章 ModeFinished");
  EXPECT_EQ(run.Records("warning "),
            (std::vector<std::string>{
                "warning タイトル.txt:1: character \"😀\" (U+1F600) has no Shift-JIS form: the "
                "reader shows 〓 in its place",
                "warning タイトル.txt:3: byte 0xE3 at column 6 is not a UTF-8 character: the "
                "reader shows 〓 in its place"}));
}

}  // namespace
