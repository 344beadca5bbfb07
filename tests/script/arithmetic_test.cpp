// The small rules of numbers: decimal columns, the layout's estimates and the grey.
#include <gtest/gtest.h>

#include <climits>

#include "reader/line_arguments.h"
#include "reader/text_fields.h"
#include "render/surfaces.h"
#include "script/text_layout.h"

namespace {

TEST(ColumnNumber, ReadsExactlyTheNamedColumnsAsAtoiDoes) {
  const struct {
    const char* line;
    int first, last, value;
  } cases[] = {
      {"CD 05 0120\n", 3, 4, 5}, {"CD 05 0120\n", 6, 9, 120},
      {"CD5\n", 3, 4, 0},  // a line feed and the terminator
      {"F01\n", 1, 2, 1},        {"F 1\n", 1, 2, 1},       {"F-1\n", 1, 2, -1},
      {"FC101\n", 2, 4, 101},    {"FC1015\n", 2, 4, 101},  {"F", 1, 2, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ColumnNumber(c.line, c.first, c.last), c.value) << c.line;
  // Saturating instead of overflowing.
  const std::pair<const char*, std::int32_t> decimals[] = {
      {"  -12x", -12}, {"+7", 7}, {"x7", 0}, {"99999999999999999999", INT_MAX},
      {"-99999999999999999999", INT_MIN}};
  for (const auto& [text, value] : decimals) EXPECT_EQ(ReadDecimal(text), value) << text;
}

TEST(Layout, TheOverflowRuleAndTheCursorCountBytesNotRows) {
  EXPECT_FALSE(LineOverflowsPage(356, 24, 1));   // a blank line at exactly 380
  EXPECT_TRUE(LineOverflowsPage(357, 24, 1));
  EXPECT_FALSE(LineOverflowsPage(INT_MIN + 5, -1, 255));  // no undefined arithmetic
  const struct {
    std::int32_t height;
    std::uint32_t length;
    std::int32_t rows;
  } cursor[] = {{24, 1, 1}, {24, 50, 1}, {24, 51, 2}, {24, 255, 6},
                {42, 29, 1}, {42, 30, 2}, {42, 230, 9}};
  for (const auto& c : cursor) {
    EXPECT_EQ(CursorAfterLine(10, c.height, c.length), 10 + c.rows * c.height) << c.length;
  }
}

TEST(Layout, ThePageLabelPadsThePageNumber) {
  char label[256];
  FormatPageLabel(label, "", 1);
  EXPECT_STREQ(label, "   1 \x83\x79\x81\x5b\x83\x57");
  FormatPageLabel(label, "ABC", -12);
  EXPECT_STREQ(label, "ABC -12 \x83\x79\x81\x5b\x83\x57");
}

TEST(BrightnessGrey, LowByteOfTheTruncatedQuotient) {
  const std::pair<std::int32_t, int> cases[] = {{100, 255}, {50, 127}, {0, 0},
                                                 {101, 1},   {150, 126}, {-10, 231}};
  for (const auto& [percent, grey] : cases) {
    EXPECT_EQ(BrightnessGrey(percent), RGB(grey, grey, grey)) << percent;
  }
}

}  // namespace
