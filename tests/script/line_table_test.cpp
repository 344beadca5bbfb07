// The loader's cuts: 700 slots of at most 255 bytes, and what stays behind them.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/headless/headless_backend.h"
#include "reader/reader.h"
#include "script/line_table.h"
#include "support/novel.h"

namespace {

class LineTableTest : public ::testing::Test, protected NovelReader {
 protected:
  ReaderState& s = reader_.state;

  void Load(const std::string& name, const std::string& bytes) {
    novel_.WriteBytes(name, bytes);
    std::strcpy(s.ScriptFileName, name.c_str());
    LoadScript(reader_);
  }
};

TEST_F(LineTableTest, SevenHundredLinesFillTheTableAndTheNextIsIgnored) {
  std::string script;
  for (int i = 0; i < 701; ++i) script += "line " + std::to_string(i) + "\n";
  ResetScript(reader_);
  Load("a.txt", script);
  EXPECT_STREQ(s.ScriptLines[0], "line 0\n");
  EXPECT_STREQ(s.ScriptLines[699], "line 699\n");
}

TEST_F(LineTableTest, LongLinesArriveInPiecesOf255Bytes) {
  const std::string long_line(300, 'x');
  ResetScript(reader_);
  Load("a.txt", long_line + "\nlast");
  EXPECT_EQ(std::string(s.ScriptLines[0]), std::string(255, 'x'));
  EXPECT_EQ(std::string(s.ScriptLines[1]), std::string(45, 'x') + "\n");
  EXPECT_STREQ(s.ScriptLines[2], "last");  // a last line keeps its missing line feed
  EXPECT_STREQ(s.ScriptLines[3], "");
}

TEST_F(LineTableTest, ReadingWithoutAResetKeepsTheLongerFilesTail) {
  ResetScript(reader_);
  Load("long.txt", "a\nb\nc\nd\ne\n");
  Load("short.txt", "1\n2\n3\n");
  EXPECT_STREQ(s.ScriptLines[2], "3\n");
  EXPECT_STREQ(s.ScriptLines[3], "d\n");
  ResetScript(reader_);
  Load("short.txt", "1\n2\n3\n");
  EXPECT_STREQ(s.ScriptLines[3], "");
}

TEST_F(LineTableTest, MissingAndEmptyFilesLeaveTheTable) {
  ResetScript(reader_);
  Load("a.txt", "kept\n");
  std::strcpy(s.ScriptFileName, "missing.txt");
  LoadScript(reader_);
  EXPECT_STREQ(s.ScriptLines[0], "kept\n");
  Load("empty.txt", "");
  EXPECT_STREQ(s.ScriptLines[0], "kept\n");
}

TEST_F(LineTableTest, ResetEmptiesTheTableAndThePerScriptState) {
  Load("a.txt", "x\n");
  s.CurrentLine = 40;
  s.ChoiceBlockIndex = 3;
  s.FontHeight = 42;
  s.Mode = ModeFinished;
  std::strcpy(s.ChoiceTexts[2], "2\"x\"");
  ResetScript(reader_);
  EXPECT_STREQ(s.ScriptLines[0], "");
  EXPECT_EQ(s.ScriptLines[0][1], '\n');  // only the first byte is cleared
  EXPECT_STREQ(s.ChoiceTexts[2], "");
  EXPECT_EQ(s.CurrentLine, 0);
  EXPECT_EQ(s.ChoiceBlockIndex, 0);
  EXPECT_EQ(s.FontHeight, 24);
  EXPECT_EQ(s.Mode, ModeReady);
}

}  // namespace
