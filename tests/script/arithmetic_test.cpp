// The small rules of numbers: decimal columns, the layout's estimates and the grey.
#include <gtest/gtest.h>

#include <climits>

#include "reader/line_arguments.h"
#include "reader/text_fields.h"
#include "render/surfaces.h"
#include "script/text_layout.h"

namespace {

TEST(ColumnNumber, ReadsExactlyTheNamedColumns) {
  EXPECT_EQ(ColumnNumber("CD 05 0120\n", 3, 4), 5);
  EXPECT_EQ(ColumnNumber("CD 05 0120\n", 6, 9), 120);
  EXPECT_EQ(ColumnNumber("CD5\n", 3, 4), 0);  // a line feed and the terminator
  EXPECT_EQ(ColumnNumber("F01\n", 1, 2), 1);
  EXPECT_EQ(ColumnNumber("F 1\n", 1, 2), 1);
  EXPECT_EQ(ColumnNumber("F-1\n", 1, 2), -1);
  EXPECT_EQ(ColumnNumber("FC101\n", 2, 4), 101);
  EXPECT_EQ(ColumnNumber("FC1015\n", 2, 4), 101);
  EXPECT_EQ(ColumnNumber("F", 1, 2), 0);
}

TEST(ReadDecimal, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(ReadDecimal("  -12x"), -12);
  EXPECT_EQ(ReadDecimal("+7"), 7);
  EXPECT_EQ(ReadDecimal("x7"), 0);
  EXPECT_EQ(ReadDecimal("99999999999999999999"), INT_MAX);
  EXPECT_EQ(ReadDecimal("-99999999999999999999"), INT_MIN);
}

TEST(Layout, OverflowRuleAtThePageLimit) {
  EXPECT_FALSE(LineOverflowsPage(346, 24, 50));  // 346 + 24 + 1 = 371
  EXPECT_TRUE(LineOverflowsPage(370, 24, 10));   // 394
  EXPECT_FALSE(LineOverflowsPage(356, 24, 1));   // a blank line at exactly 380
  EXPECT_TRUE(LineOverflowsPage(357, 24, 1));
  EXPECT_FALSE(LineOverflowsPage(INT_MIN + 5, -1, 255));  // no undefined arithmetic
}

TEST(Layout, CursorAdvanceCountsBytesNotRows) {
  EXPECT_EQ(CursorAfterLine(10, 24, 1), 34);
  EXPECT_EQ(CursorAfterLine(10, 24, 50), 34);
  EXPECT_EQ(CursorAfterLine(10, 24, 51), 58);
  EXPECT_EQ(CursorAfterLine(10, 24, 255), 10 + 6 * 24);
  EXPECT_EQ(CursorAfterLine(10, 42, 29), 52);
  EXPECT_EQ(CursorAfterLine(10, 42, 30), 94);
  EXPECT_EQ(CursorAfterLine(10, 42, 230), 10 + 9 * 42);
}

TEST(Layout, PageLabelPadsThePageNumber) {
  char label[256];
  FormatPageLabel(label, "", 1);
  EXPECT_STREQ(label, "   1 \x83\x79\x81\x5b\x83\x57");
  FormatPageLabel(label, "ABC", -12);
  EXPECT_STREQ(label, "ABC -12 \x83\x79\x81\x5b\x83\x57");
}

TEST(BrightnessGrey, LowByteOfTheTruncatedQuotient) {
  EXPECT_EQ(BrightnessGrey(100), RGB(255, 255, 255));
  EXPECT_EQ(BrightnessGrey(50), RGB(127, 127, 127));
  EXPECT_EQ(BrightnessGrey(0), RGB(0, 0, 0));
  EXPECT_EQ(BrightnessGrey(101), RGB(1, 1, 1));
  EXPECT_EQ(BrightnessGrey(150), RGB(126, 126, 126));
  EXPECT_EQ(BrightnessGrey(-10), RGB(231, 231, 231));
}

}  // namespace
