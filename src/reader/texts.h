// The reader's own texts, as the Shift-JIS bytes it shows and writes.
#pragma once

namespace texts {

inline constexpr char CAPTION[] = "\x83\x7e\x83\x49\x83\x89\x83\x93\x83\x67";  // ミオラント
inline constexpr char FIRST_SCRIPT[] = "\x83\x5e\x83\x43\x83\x67\x83\x8b.txt";  // タイトル.txt
inline constexpr char PAGE_LABEL_FORMAT[] = "%s %3d \x83\x79\x81\x5b\x83\x57";  // %s %3d ページ
// クリックで止まります
inline constexpr char SKIP_INDICATOR[] =
    "\x83\x4e\x83\x8a\x83\x62\x83\x4e\x82\xc5\x8e\x7e\x82\xdc\x82\xe8\x82\xdc\x82\xb7";
inline constexpr char AUTO_INDICATOR[] = "\x83\x49\x81\x5b\x83\x67";  // オート
inline constexpr char SPEECH_INDICATOR[] = "\x93\xc7\x82\xdd\x8f\xe3\x82\xb0";  // 読み上げ
inline constexpr char VOLUME_INDICATOR_FORMAT[] = "\x89\xb9\x97\xca %d";  // 音量 %d
inline constexpr char MUTED_INDICATOR[] = "\x8f\xc1\x89\xb9";  // 消音
inline constexpr char CHOICE_TAKEN_MARK[] = "\x81\xcb ";  // "⇒ " before a choice in the backlog
inline constexpr char NO_BOOKMARK[] = "NO DATA";
inline constexpr char FIRST_PAGE[] = "1";
inline constexpr char FONT_FACE[] = "\x82\x6c\x82\x72 \x96\xbe\x92\xa9";  // ＭＳ 明朝
inline constexpr char BOOKMARK_FILE[] = "\x82\xb5\x82\xa8\x82\xe8.sio";  // しおり.sio
inline constexpr char TOC_FILE[] = "\x83\x74\x83\x40\x83\x43\x83\x8b.txt";  // ファイル.txt

// The context menu.
inline constexpr char MENU_CONTENTS[] = "\x96\xda\x8e\x9f";            // 目次
inline constexpr char MENU_BOOKMARKS[] = "\x82\xb5\x82\xa8\x82\xe8";   // しおり
inline constexpr char MENU_SAVE[] = "\x95\xdb\x91\xb6";                // 保存
inline constexpr char MENU_OPEN[] = "\x8a\x4a\x82\xad";                // 開く
inline constexpr char MENU_FULL_SCREEN[] =
    "\x83\x74\x83\x8b\x83\x58\x83\x4e\x83\x8a\x81\x5b\x83\x93";       // フルスクリーン
inline constexpr char MENU_SKIP[] = "\x83\x58\x83\x4c\x83\x62\x83\x76";  // スキップ
inline constexpr char MENU_BACK_PAGE[] =
    "\x82\x50\x83\x79\x81\x5b\x83\x57\x96\xdf\x82\xe9";               // １ページ戻る
inline constexpr char MENU_CANCEL[] = "\x83\x4c\x83\x83\x83\x93\x83\x5a\x83\x8b";  // キャンセル
inline constexpr char MENU_EXIT[] = "\x8f\x49\x97\xb9";                // 終了

}  // namespace texts
