// UTF-8 text: recognised as a whole, converted to CP932 with 〓 for what it lacks.
#include "platform/utf8_text.h"

#include <gtest/gtest.h>

#include "platform/shift_jis.h"
#include "support/novel.h"

namespace {

TEST(Utf8Text, RecognisedAsAWhole) {
  const struct {
    std::string bytes;
    bool utf8;
  } cases[] = {
      {"あいう\n", true},
      {"\xEF\xBB\xBF"
       "abc",
       true},            // the byte order mark alone decides
      {"abc\n", false},  // ASCII reads the same either way
      {ToShiftJis("あいう、表とソ\n"), false},
      {"\xC0\xAF", false},          // overlong
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"あ\xE3\x81", false},        // cut inside a character
  };
  for (const auto& c : cases) EXPECT_EQ(IsUtf8Text(c.bytes), c.utf8) << c.bytes;
}

TEST(Utf8Text, ConvertedWithGetaWhereShiftJisLacksACharacter) {
  ShiftJis shift_jis;
  std::vector<UnconvertedCharacter> unconverted;
  EXPECT_EQ(Utf8TextToShiftJis(shift_jis,
                               "\xEF\xBB\xBF"
                               "あ①\n😀\nb🎵",
                               unconverted),
            "\x82\xA0\x87\x40\n\x81\xAC\nb\x81\xAC");
  ASSERT_EQ(unconverted.size(), 2u);
  EXPECT_EQ(unconverted[0].code, U'😀');
  EXPECT_EQ(unconverted[0].line, 2);
  EXPECT_EQ(unconverted[1].code, U'🎵');
  EXPECT_EQ(unconverted[1].line, 3);
}

}  // namespace
