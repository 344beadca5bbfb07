// CP932 decoding and encoding: the novels' characters, malformed bytes, a whole text;
// UTF-8 text recognised as a whole and converted with 〓 for what CP932 lacks and for
// ill-formed bytes.
#include "platform/shift_jis.h"

#include <gtest/gtest.h>

#include "platform/utf8_text.h"
#include "support/novel.h"
#include "support/test_data.h"

namespace {

TEST(ShiftJisTest, ToUtf8) {
  const struct { std::string sjis, utf8; } cases[] = {
      {"\x82\xA0\x82\xA2\x82\xA4", "あいう"},
      {"\x83\x5C", "ソ"},  // trail byte 0x5C is not a backslash
      {"\x95\x5C", "表"},
      {"\x81\x40[\x82\x60]", "\u3000[Ａ]"},
      {"\x87\x40", "①"},  // NEC and IBM extensions
      {"\xFB\xFC", "髙"},
      {"\x81\x60", "\uFF5E"},
      {"\xB1", "ｱ"},
      {"a\\b~", "a\\b~"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
      {"a\x82", "a\uFFFD"},  // lone lead byte at the end
      {"\x82\n", "\uFFFD\n"},  // the LF after a bad lead byte survives
      {"\x85\x40x", "\uFFFDx"},  // unassigned pair
  };
  ShiftJis shift_jis;
  for (const auto& c : cases) EXPECT_EQ(shift_jis.ToUtf8(c.sjis), c.utf8) << c.utf8;
  const char pair[] = "\x82\xA0";  // a view is not read past its end
  EXPECT_EQ(shift_jis.ToUtf8(std::string_view(pair, 1)), "\uFFFD");
}

TEST(ShiftJisTest, DecodeReplacesWhatDoesNotMap) {
  ShiftJis shift_jis;
  EXPECT_EQ(shift_jis.Decode(0x82, 0xA0), U'あ');
  EXPECT_EQ(shift_jis.DecodeSingle(0xDF), U'ﾟ');
  for (int byte : {0x80, 0xFF, 0x82}) EXPECT_EQ(shift_jis.DecodeSingle(byte), U'\uFFFD') << byte;
  for (auto [lead, trail] : {std::pair{0x85, 0x40}, {0x82, 0x0A}, {0x41, 0x42}}) {
    EXPECT_EQ(shift_jis.Decode(lead, trail), U'\uFFFD') << lead << " " << trail;
  }
}

TEST(ShiftJisTest, EncodesAndRefusesWhatCp932Lacks) {
  ShiftJis shift_jis;
  const std::string text_utf8 = "あいう ソ表①髙ｱ abc\\~\n";
  const std::string text_sjis = shift_jis.FromUtf8(text_utf8).value();
  EXPECT_EQ(text_sjis.substr(0, 6), "\x82\xA0\x82\xA2\x82\xA4");
  EXPECT_EQ(shift_jis.ToUtf8(text_sjis), text_utf8);
  for (const char* bad : {"\U0001F600", "a\xE3\x81", "\xFF"}) EXPECT_FALSE(shift_jis.FromUtf8(bad));
  // A failure leaves the converter ready for the next string.
  EXPECT_EQ(shift_jis.FromUtf8("表"), std::optional<std::string>("\x95\x5C"));
  std::string out;  // AppendUtf8 encodes each length and replaces what is no code point
  for (char32_t code : {U'A', U'é', U'あ', U'\U00020B9F', char32_t{0x110000}, char32_t{0xD800}}) {
    AppendUtf8(out, code);
  }
  EXPECT_EQ(out, "Aéあ\U00020B9F\uFFFD\uFFFD");
}

TEST(ShiftJisTest, RashomonMatchesItsUtf8Conversion) {
  const std::string text_sjis = ReadBytes(TestDataPath("text/akutagawa-rashomon.sjis.txt"));
  const std::string text_utf8 = ReadBytes(TestDataPath("text/akutagawa-rashomon.utf8.txt"));
  ASSERT_EQ(text_sjis.size(), 11521u);
  ShiftJis shift_jis;
  EXPECT_EQ(shift_jis.ToUtf8(text_sjis), text_utf8);
  EXPECT_EQ(shift_jis.FromUtf8(text_utf8), std::optional<std::string>(text_sjis));
}

TEST(Utf8Text, RecognisedAsAWhole) {
  const std::pair<std::string, bool> cases[] = {
      {"あいう\n", true},
      {"\xEF\xBB\xBF" "abc", true},  // the byte order mark alone decides
      {"abc\n", false},            // ASCII reads the same either way
      {ToShiftJis("あいう、表とソ\n"), false},
      {"\xC0\xAF", false},          // overlong
      {"\xED\xA0\x80", false},      // surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"あ\xE3\x81", false},        // cut inside a character
  };
  for (const auto& [bytes, utf8] : cases) EXPECT_EQ(IsUtf8Text(bytes), utf8) << bytes;
}

// What CP932 lacks, and each maximal subpart of ill-formed bytes (first the example of
// the Unicode standard, 3.9), is one 〓; a character cut short keeps the line end behind.
TEST(Utf8Text, ConvertedWithGetaForWhatShiftJisLacksAndForEachIllFormedSubpart) {
  ShiftJis shift_jis;
  std::vector<UnconvertedCharacter> unconverted;
  EXPECT_EQ(Utf8TextToShiftJis(shift_jis,
                               "\xEF\xBB\xBF" "a\xF1\x80\x80\xE1\x80\xC2" "b\x80" "c\x80\xBF" "d\n"
                               "\xE3\r\nE\r\nあ①\xF0\x9F\n😀\xED\xA0\x80\nb🎵",
                               unconverted),
            ToShiftJis("a〓〓〓b〓c〓〓d\n〓\r\nE\r\nあ①〓\n〓〓〓〓\nb〓"));
  std::vector<std::string> found;
  for (const UnconvertedCharacter& c : unconverted) {
    std::string what = c.ill_formed;
    if (what.empty()) AppendUtf8(what, c.code);
    found.push_back(std::to_string(c.line) + ":" + std::to_string(c.column) + " " + what);
  }
  EXPECT_EQ(found, (std::vector<std::string>{"1:1 \xF1\x80\x80", "1:4 \xE1\x80", "1:6 \xC2",
                                             "1:8 \x80", "1:10 \x80", "1:11 \xBF", "2:0 \xE3",
                                             "4:6 \xF0\x9F", "5:0 😀", "5:4 \xED", "5:5 \xA0",
                                             "5:6 \x80", "6:1 🎵"}));
}

}  // namespace
