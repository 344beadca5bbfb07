// The reader's own texts are byte for byte the Shift-JIS of what they read as.
#include <gtest/gtest.h>

#include "app/texts.h"
#include "platform/shift_jis.h"

namespace {

TEST(Texts, ReadAsWritten) {
  ShiftJis sjis;
  EXPECT_EQ(sjis.ToUtf8(texts::kCaption), "ミオラント");
  EXPECT_EQ(sjis.ToUtf8(texts::kFirstScript), "タイトル.txt");
  EXPECT_EQ(sjis.ToUtf8(texts::kPageLabelFormat), "%s %3d ページ");
  EXPECT_EQ(sjis.ToUtf8(texts::kSkipIndicator), "クリックで止まります");
  EXPECT_EQ(sizeof texts::kSkipIndicator - 1, 20u);
  EXPECT_EQ(sjis.ToUtf8(texts::kFontFace), "ＭＳ 明朝");
  EXPECT_EQ(sjis.ToUtf8(texts::kBookmarkFile), "しおり.sio");
  EXPECT_EQ(sjis.ToUtf8(texts::kTocFile), "ファイル.txt");
  EXPECT_EQ(sjis.ToUtf8(texts::kMenuContents), "目次");
  EXPECT_EQ(sjis.ToUtf8(texts::kMenuBookmarks), "しおり");
  EXPECT_EQ(sjis.ToUtf8(texts::kMenuSave), "保存");
  EXPECT_EQ(sjis.ToUtf8(texts::kMenuOpen), "開く");
  EXPECT_EQ(sjis.ToUtf8(texts::kMenuFullScreen), "フルスクリーン");
  EXPECT_EQ(sjis.ToUtf8(texts::kMenuSkip), "スキップ");
  EXPECT_EQ(sjis.ToUtf8(texts::kMenuBackPage), "１ページ戻る");
  EXPECT_EQ(sjis.ToUtf8(texts::kMenuCancel), "キャンセル");
  EXPECT_EQ(sjis.ToUtf8(texts::kMenuExit), "終了");
}

}  // namespace
