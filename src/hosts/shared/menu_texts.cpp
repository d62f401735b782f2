#include "hosts/shared/menu_texts.h"

#include <iterator>

// In the order of MenuWords.
const MenuWordsEntry menu_words[] = {
    {place_title, "オプション", "Options"},
    {place_title, "操作の設定", "Controls"},
    {place_title, "ゲームを終了しますか？", "Quit the game?"},
    {place_title, "パッドのボタン", "Pad buttons"},
    {place_label, "ゲームに戻る", "Resume"},
    {place_label, "音量", "Volume"},
    {place_label, "音楽", "Music"},
    {place_label, "効果音", "Effects"},
    {place_label, "消音", "Mute"},
    {place_label, "字幕", "Captions"},
    {place_label, "言語", "Language"},
    {place_label, "画面", "Screen"},
    {place_label, "倍率", "Scale"},
    {place_label, "バックグラウンドで停止", "Pause in background"},
    {place_label, "操作の設定", "Controls"},
    {place_label, "終了", "Quit"},
    {place_label, "パッドのボタン", "Pad buttons"},
    {place_label, "初期設定に戻す", "Restore defaults"},
    {place_label, "戻る", "Back"},
    {place_label, "いいえ、続ける", "No, go on"},
    {place_label, "はい、終了する", "Yes, quit"},
    {place_value, "オン", "On"},
    {place_value, "オフ", "Off"},
    {place_value, "自動", "Auto"},
    // Each language by its own name, whichever edition shows it.
    {place_value, "日本語", "日本語"},
    {place_value, "English", "English"},
    {place_value, "全画面", "Full screen"},
    {place_value, "ウィンドウ", "Window"},
    {place_value, "%s倍", "%sx"},
    {place_value, "%s%", "%s%"},
    {place_value, "なし", "None"},
    {place_foot, "↑↓で選択  ←→で変更  戻るで閉じる", "↑↓ choose  ←→ change  Back: close"},
    {place_foot, "決定でキーを変更  戻るで戻る", "Confirm: set a new key  Back: return"},
    {place_foot, "↑↓で選択  決定で実行", "↑↓ choose  Confirm: do it"},
    {place_foot, "決定でボタンを変更  戻るで戻る", "Confirm: set a new button  Back: return"},
    {place_foot, "言語は次の起動から変わります", "The language changes at the next start"},
    {place_foot, "キーを押してください（Escで取り消し）", "Press a key (Esc: cancel)"},
    {place_foot, "ボタンを押してください（Bで取り消し）", "Press a button (B: cancel)"},
    {place_foot, "「%s」から移しました（戻るで元に戻す）", "Taken from %s  Back: undo"},
    {place_foot, "元に戻しました", "Undone"},
    {place_foot, "そのキーは使えません", "That key cannot be set"},
    {place_foot, "初期設定に戻しました", "The defaults are back"},
    {place_foot, "%sを外します（決定で実行）", "Drops %s  Confirm: restore"},
    {place_title, "記録", "Records"},
    {place_label, "記録", "Records"},
    {place_label, "遊んだラウンド", "Rounds played"},
    {place_label, "パーフェクト", "Perfect rounds"},
    {place_label, "最高ランク", "Best rank"},
    {place_label, "最も多く残した量", "Most food left"},
    {place_label, "ベストラウンドを見る", "Watch the best round"},
    {place_value, "%s / 3", "%s of 3"},
    {place_foot, "ベストラウンドを読めません", "The best round cannot be read"},
};
static_assert(std::size(menu_words) == menu_words_count, "one entry for each of MenuWords");

// In the order of GameKey.
const MenuWordsEntry game_key_words[] = {
    {place_label, "上へ", "Up"},
    {place_label, "下へ", "Down"},
    {place_label, "左", "Left"},
    {place_label, "右", "Right"},
    {place_label, "投げる", "Throw"},
    {place_label, "補充", "Refill"},
    {place_label, "ボタン3", "Button 3"},
    {place_label, "ボタン4", "Button 4"},
};
static_assert(std::size(game_key_words) == game_key_count, "one entry for each game key");
