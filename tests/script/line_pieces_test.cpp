// Long script lines cut into pieces of at most 255 bytes between characters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "script/line_pieces.h"
#include "script/line_table.h"
#include "support/novel.h"

namespace {

std::string Times(int count, const std::string& text) {
  std::string repeated;
  for (int k = 0; k < count; ++k) repeated += text;
  return repeated;
}

const std::string TE = "\x82\xC4";  // て

TEST(WholeCharacterCut, KeepsAFullPieceButForALeadByteAtItsEnd) {
  const struct { std::string piece; std::size_t kept; } cases[] = {
      {Times(127, TE) + "\x82", 254},            // the lead byte of て at byte 255
      {Times(254, "x") + "\x82", 254},
      {"x" + Times(127, TE), 255},               // て ends the piece whole
      {Times(253, "x") + "\x82\x82", 255},       // a lead byte may be a trail byte too
      {Times(255, "x"), 255}, {Times(255, "\xB1"), 255},  // single bytes: ASCII, ｱ
      {Times(254, "x") + "\n", 255}, {Times(127, TE), 254},  // ended lines, short pieces
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WholeCharacterCut(c.piece.data(), c.piece.size()), c.kept) << c.piece;
  }
}

class LinePiecesTest : public ::testing::Test, protected NovelReader {};

TEST_F(LinePiecesTest, TheCutCharacterBeginsTheNextSlot) {
  const struct { std::string file; std::vector<std::string> slots; } cases[] = {
      {Times(150, TE) + "\nE\n", {Times(127, TE), Times(23, TE) + "\n", "E\n"}},
      {Times(255, "a") + "T x\n", {Times(255, "a"), "T x\n"}},  // a command stays one
      {"x" + std::string(1, '\0') + Times(252, "y") + TE + "\n", {"x", TE + "\n"}},  // a NUL
      {Times(254, "x") + "\x82", {Times(254, "x"), "\x82"}},  // the file ends at the lead byte
  };
  for (const auto& c : cases) {
    novel_.WriteBytes("a.txt", c.file);
    std::strcpy(reader_.state.ScriptFileName, "a.txt");
    ResetScript(reader_);
    LoadScript(reader_);
    for (std::size_t k = 0; k < c.slots.size(); ++k) {
      EXPECT_EQ(reader_.state.ScriptLines[k], c.slots[k]) << "slot " << k;
    }
    EXPECT_STREQ(reader_.state.ScriptLines[c.slots.size()], "");
  }
}

}  // namespace
