// The reader's own texts are byte for byte the Shift-JIS of what they read as; the
// scenarios read the caption, the file names, the page label and the menu's items.
#include <gtest/gtest.h>

#include "platform/shift_jis.h"
#include "reader/texts.h"

namespace {

TEST(Texts, TheFaceAndTheSkipIndicatorReadAsWritten) {
  ShiftJis sjis;
  EXPECT_EQ(sjis.ToUtf8(texts::FONT_FACE), "ＭＳ 明朝");
  EXPECT_EQ(sjis.ToUtf8(texts::SKIP_INDICATOR), "クリックで止まります");
  EXPECT_EQ(sizeof texts::SKIP_INDICATOR - 1, 20u);  // the status strip draws 20 bytes
}

}  // namespace
