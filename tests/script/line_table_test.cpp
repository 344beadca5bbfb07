// The loader's cuts: 700 slots of at most 255 bytes, never between the two bytes of a
// character, and what stays behind them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/files/text_file.h"
#include "reader/reader.h"
#include "script/line_pieces.h"
#include "script/line_table.h"
#include "support/novel.h"

namespace {

const std::string TE = "\x82\xC4";  // て

class LineTableTest : public ::testing::Test, protected NovelReader {
 protected:
  ReaderState& s = reader_.state;

  void Load(const std::string& name, const std::string& bytes) {
    novel_.WriteBytes(name, bytes);
    std::strcpy(s.ScriptFileName, name.c_str());
    ASSERT_TRUE(LoadScript(reader_));
  }
};

TEST(WholeCharacterCut, KeepsAFullPieceButForALeadByteAtItsEnd) {
  const struct {
    std::string piece;
    std::size_t kept;
  } cases[] = {
      {Times(127, TE) + "\x82", 254}, {Times(254, "x") + "\x82", 254},  // a lead byte at 255
      {"x" + Times(127, TE), 255},   {Times(253, "x") + "\x82\x82", 255},  // whole characters
      {Times(255, "\xB1"), 255},     {Times(254, "x") + "\n", 255},  {Times(127, TE), 254},
  };
  for (const auto& c : cases) EXPECT_EQ(WholeCharacterCut(c.piece.data(), c.piece.size()), c.kept);
}

TEST_F(LineTableTest, LongLinesArriveInPiecesAndTheCutCharacterBeginsTheNextSlot) {
  const struct {
    std::string file;
    std::vector<std::string> slots;
  } cases[] = {
      // A last line keeps its missing line feed.
      {Times(300, "x") + "\nlast", {Times(255, "x"), Times(45, "x") + "\n", "last"}},
      {Times(150, TE) + "\nE\n", {Times(127, TE), Times(23, TE) + "\n", "E\n"}},
      {"x" + std::string(1, '\0') + Times(252, "y") + TE + "\n", {"x", TE + "\n"}},  // a NUL
      {Times(254, "x") + "\x82", {Times(254, "x"), "\x82"}},  // the file ends at the lead byte
  };
  for (const auto& c : cases) {
    ResetScript(reader_);
    Load("a.txt", c.file);
    std::vector<std::string> slots(s.ScriptLines, s.ScriptLines + 4);
    slots.resize(c.slots.size());
    EXPECT_EQ(slots, c.slots);
    EXPECT_STREQ(s.ScriptLines[c.slots.size()], "");
  }
}

// 700 lines fill the table; a shorter file leaves the longer one's tail behind its
// lines unless the table was reset; a missing or empty file leaves the table as it is.
TEST_F(LineTableTest, WhatALoadLeavesInTheTable) {
  std::string script;
  for (int i = 0; i < 701; ++i) script += "line " + std::to_string(i) + "\n";
  Load("long.txt", script);
  EXPECT_STREQ(s.ScriptLines[699], "line 699\n");
  Load("short.txt", "1\n2\n3\n");
  EXPECT_STREQ(s.ScriptLines[2], "3\n");
  EXPECT_STREQ(s.ScriptLines[3], "line 3\n");
  std::strcpy(s.ScriptFileName, "missing.txt");
  EXPECT_EQ(LoadScript(reader_).error().problem, FileProblem::NotFound);
  Load("empty.txt", "");
  EXPECT_STREQ(s.ScriptLines[0], "1\n");
  ResetScript(reader_);
  Load("short.txt", "1\n2\n3\n");
  EXPECT_STREQ(s.ScriptLines[3], "");
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
  EXPECT_EQ(s.CurrentLine + s.ChoiceBlockIndex, 0);
  EXPECT_EQ(s.FontHeight, 24);
  EXPECT_EQ(s.Mode, ModeReady);
}

// A file line cut at 255 bytes is told of by the bytes it holds, NUL bytes counted.
TEST_F(LineTableTest, ACutLineIsToldOfByItsBytesNulsCounted) {
  TextFileReader text = TextFileReader::FromBytes(std::string(600, '\0') + "\nE\n");
  ScriptTableNotes notes;
  ReadScriptTable(text, s.ScriptLines, platform_.shift_jis, &notes);
  const auto cut = std::find_if(notes.findings.begin(), notes.findings.end(), [](const auto& f) {
    return f.problem.message.starts_with("the line is ");
  });
  ASSERT_NE(cut, notes.findings.end());
  EXPECT_TRUE(cut->problem.message.starts_with("the line is 600 bytes: the reader cuts it after "
                                               "byte 255,"))
      << cut->problem.message;
}

}  // namespace
