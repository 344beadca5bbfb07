// CP932 decoding: the characters the novels use, malformed byte strings, and a
// whole public-domain text against its UTF-8 conversion.
#include "platform/shift_jis.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string WithoutCarriageReturns(std::string text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    out += text[i];
  }
  return out;
}

TEST(ShiftJisTest, DecodesTheCharactersOfTheNovels) {
  ShiftJis shift_jis;
  EXPECT_EQ(shift_jis.ToUtf8("\x82\xA0\x82\xA2\x82\xA4"), "あいう");
  // Trail bytes that are ASCII backslash and punctuation stay inside their character.
  EXPECT_EQ(shift_jis.ToUtf8("\x83\x5C"), "ソ");
  EXPECT_EQ(shift_jis.ToUtf8("\x95\x5C"), "表");
  EXPECT_EQ(shift_jis.ToUtf8("\x81\x40[\x82\x60]"), "\u3000[Ａ]");
  // NEC and IBM extensions, which strict Shift_JIS lacks.
  EXPECT_EQ(shift_jis.ToUtf8("\x87\x40"), "①");
  EXPECT_EQ(shift_jis.ToUtf8("\xFB\xFC"), "髙");
  EXPECT_EQ(shift_jis.ToUtf8("\x81\x60"), "\uFF5E");  // CP932's wave dash
  EXPECT_EQ(shift_jis.ToUtf8("\xB1"), "ｱ");
  EXPECT_EQ(shift_jis.ToUtf8("a\\b~"), "a\\b~");
}

TEST(ShiftJisTest, DecodeGivesCodePointsAndReplacesWhatDoesNotMap) {
  ShiftJis shift_jis;
  EXPECT_EQ(shift_jis.Decode(0x82, 0xA0), U'あ');
  EXPECT_EQ(shift_jis.DecodeSingle('A'), U'A');
  EXPECT_EQ(shift_jis.DecodeSingle(0x00), U'\0');
  EXPECT_EQ(shift_jis.DecodeSingle(0xDF), U'ﾟ');
  EXPECT_EQ(shift_jis.DecodeSingle(0x80), U'\uFFFD');
  EXPECT_EQ(shift_jis.DecodeSingle(0xFF), U'\uFFFD');
  EXPECT_EQ(shift_jis.DecodeSingle(0x82), U'\uFFFD');  // a lead byte alone
  EXPECT_EQ(shift_jis.Decode(0x85, 0x40), U'\uFFFD');  // an unassigned pair
  EXPECT_EQ(shift_jis.Decode(0x82, 0x0A), U'\uFFFD');  // not a trail byte
  EXPECT_EQ(shift_jis.Decode(0x41, 0x42), U'\uFFFD');  // not a lead byte
  // Asking again answers from the cache with the same result.
  EXPECT_EQ(shift_jis.Decode(0x85, 0x40), U'\uFFFD');
  EXPECT_EQ(shift_jis.Decode(0x82, 0xA0), U'あ');
}

TEST(ShiftJisTest, MalformedBytesBecomeReplacementCharacters) {
  ShiftJis shift_jis;
  EXPECT_EQ(shift_jis.ToUtf8("a\x82"), "a\uFFFD");
  // The lead byte alone is bad; the line feed after it survives.
  EXPECT_EQ(shift_jis.ToUtf8("\x82\n"), "\uFFFD\n");
  EXPECT_EQ(shift_jis.ToUtf8("\x85\x40x"), "\uFFFDx");
  EXPECT_EQ(shift_jis.ToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(shift_jis.ToUtf8(""), "");
  // A view that ends after a lead byte is not read beyond, though a trail follows.
  const char pair[] = "\x82\xA0";
  EXPECT_EQ(shift_jis.ToUtf8(std::string_view(pair, 1)), "\uFFFD");
}

TEST(ShiftJisTest, EveryByteStringConverts) {
  ShiftJis shift_jis;
  std::string all_pairs;
  for (int lead = 0; lead < 256; ++lead) {
    for (int trail = 0; trail < 256; ++trail) {
      all_pairs += static_cast<char>(lead);
      all_pairs += static_cast<char>(trail);
    }
  }
  const std::string text_utf8 = shift_jis.ToUtf8(all_pairs);
  EXPECT_GT(text_utf8.size(), all_pairs.size());
}

TEST(ShiftJisTest, FromUtf8RoundTripsAndRefusesWhatCp932Lacks) {
  ShiftJis shift_jis;
  const std::string text_utf8 = "あいう ソ表①髙ｱ abc\\~\n";
  const std::optional<std::string> text_sjis = shift_jis.FromUtf8(text_utf8);
  ASSERT_TRUE(text_sjis.has_value());
  EXPECT_EQ(text_sjis->substr(0, 6), "\x82\xA0\x82\xA2\x82\xA4");
  EXPECT_EQ(shift_jis.ToUtf8(*text_sjis), text_utf8);
  EXPECT_EQ(shift_jis.FromUtf8(""), std::optional<std::string>(""));
  EXPECT_FALSE(shift_jis.FromUtf8("\U0001F600").has_value());
  EXPECT_FALSE(shift_jis.FromUtf8("a\xE3\x81").has_value());  // cut UTF-8
  EXPECT_FALSE(shift_jis.FromUtf8("\xFF").has_value());
  // A failure leaves the converter ready for the next string.
  EXPECT_EQ(shift_jis.FromUtf8("表"), std::optional<std::string>("\x95\x5C"));
}

TEST(ShiftJisTest, AppendUtf8EncodesEachLength) {
  std::string out;
  for (char32_t code : {U'A', U'é', U'あ', U'\U00020B9F', char32_t{0x110000}, char32_t{0xD800}}) {
    AppendUtf8(out, code);
  }
  EXPECT_EQ(out, "Aéあ\U00020B9F\uFFFD\uFFFD");
}

TEST(ShiftJisTest, RashomonMatchesItsUtf8Conversion) {
  const std::string folder = std::string(YOMU_TESTDATA_DIR) + "/text/";
  const std::string text_sjis = ReadFile(folder + "akutagawa-rashomon.sjis.txt");
  const std::string text_utf8 = ReadFile(folder + "akutagawa-rashomon.utf8.txt");
  ASSERT_EQ(text_sjis.size(), 11521u);
  ASSERT_FALSE(text_utf8.empty());
  ShiftJis shift_jis;
  EXPECT_EQ(WithoutCarriageReturns(shift_jis.ToUtf8(text_sjis)), WithoutCarriageReturns(text_utf8));
  EXPECT_EQ(shift_jis.FromUtf8(text_utf8), std::optional<std::string>(text_sjis));
}

}  // namespace
