// The reader's own texts are byte for byte the Shift-JIS of what they read as.
#include <gtest/gtest.h>

#include "platform/shift_jis.h"
#include "reader/texts.h"

namespace {

TEST(Texts, ReadAsWritten) {
  const std::pair<const char*, const char*> TEXTS[] = {
      {texts::CAPTION, "ミオラント"}, {texts::FIRST_SCRIPT, "タイトル.txt"},
      {texts::PAGE_LABEL_FORMAT, "%s %3d ページ"}, {texts::SKIP_INDICATOR, "クリックで止まります"},
      {texts::FONT_FACE, "ＭＳ 明朝"}, {texts::BOOKMARK_FILE, "しおり.sio"}, {texts::TOC_FILE, "ファイル.txt"},
      {texts::MENU_CONTENTS, "目次"}, {texts::MENU_BOOKMARKS, "しおり"}, {texts::MENU_SAVE, "保存"},
      {texts::MENU_OPEN, "開く"}, {texts::MENU_FULL_SCREEN, "フルスクリーン"}, {texts::MENU_SKIP, "スキップ"},
      {texts::MENU_BACK_PAGE, "１ページ戻る"}, {texts::MENU_CANCEL, "キャンセル"}, {texts::MENU_EXIT, "終了"}};
  ShiftJis sjis;
  for (const auto& [sjis_text, utf8] : TEXTS) EXPECT_EQ(sjis.ToUtf8(sjis_text), utf8);
  EXPECT_EQ(sizeof texts::SKIP_INDICATOR - 1, 20u);
}

}  // namespace
