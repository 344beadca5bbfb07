// The reader's own texts are byte for byte the Shift-JIS of what they read as.
#include <gtest/gtest.h>

#include "app/texts.h"
#include "platform/shift_jis.h"

namespace {

TEST(Texts, ReadAsWritten) {
  const std::pair<const char*, const char*> kTexts[] = {
      {texts::kCaption, "ミオラント"}, {texts::kFirstScript, "タイトル.txt"},
      {texts::kPageLabelFormat, "%s %3d ページ"}, {texts::kSkipIndicator, "クリックで止まります"},
      {texts::kFontFace, "ＭＳ 明朝"}, {texts::kBookmarkFile, "しおり.sio"}, {texts::kTocFile, "ファイル.txt"},
      {texts::kMenuContents, "目次"}, {texts::kMenuBookmarks, "しおり"}, {texts::kMenuSave, "保存"},
      {texts::kMenuOpen, "開く"}, {texts::kMenuFullScreen, "フルスクリーン"}, {texts::kMenuSkip, "スキップ"},
      {texts::kMenuBackPage, "１ページ戻る"}, {texts::kMenuCancel, "キャンセル"}, {texts::kMenuExit, "終了"}};
  ShiftJis sjis;
  for (const auto& [sjis_text, utf8] : kTexts) EXPECT_EQ(sjis.ToUtf8(sjis_text), utf8);
  EXPECT_EQ(sizeof texts::kSkipIndicator - 1, 20u);
}

}  // namespace
