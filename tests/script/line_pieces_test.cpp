// Long script lines cut into pieces of at most 255 bytes between characters.
#include <gtest/gtest.h>

#include <cstring>

#include "script/line_pieces.h"
#include "script/line_table.h"
#include "support/novel.h"

namespace {

const std::string TE = "\x82\xC4";  // て

TEST(WholeCharacterCut, KeepsAFullPieceButForALeadByteAtItsEnd) {
  const struct { std::string piece; std::size_t kept; } cases[] = {
      {Times(127, TE) + "\x82", 254}, {Times(254, "x") + "\x82", 254},  // a lead byte at 255
      {"x" + Times(127, TE), 255}, {Times(253, "x") + "\x82\x82", 255},  // whole characters
      {Times(255, "\xB1"), 255}, {Times(254, "x") + "\n", 255}, {Times(127, TE), 254},
  };
  for (const auto& c : cases) EXPECT_EQ(WholeCharacterCut(c.piece.data(), c.piece.size()), c.kept);
}

class LinePiecesTest : public ::testing::Test, protected NovelReader {};

TEST_F(LinePiecesTest, TheCutCharacterBeginsTheNextSlot) {
  const struct { std::string file; std::vector<std::string> slots; } cases[] = {
      {Times(150, TE) + "\nE\n", {Times(127, TE), Times(23, TE) + "\n", "E\n"}},
      {"x" + std::string(1, '\0') + Times(252, "y") + TE + "\n", {"x", TE + "\n"}},  // a NUL
      {Times(254, "x") + "\x82", {Times(254, "x"), "\x82"}},  // the file ends at the lead byte
  };
  for (const auto& c : cases) {
    novel_.WriteBytes("a.txt", c.file);
    std::strcpy(reader_.state.ScriptFileName, "a.txt");
    ResetScript(reader_);
    LoadScript(reader_);
    std::vector<std::string> slots(reader_.state.ScriptLines, reader_.state.ScriptLines + 4);
    slots.resize(c.slots.size());
    EXPECT_EQ(slots, c.slots);
    EXPECT_STREQ(reader_.state.ScriptLines[c.slots.size()], "");
  }
}

}  // namespace
