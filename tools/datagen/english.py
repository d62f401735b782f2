"""The English words of every sheet, by the Japanese words they replace.

Drawing in English looks each Japanese string up here (art.tr), so a
word left out stops the generator instead of leaking Japanese.  Each one
is short enough to fit the rectangle of the Japanese word.
"""
WORDS = {
    # title
    "↑↓：えらぶ　Enter：けってい": "Up/Down: choose  Enter: OK",
    "まめで ごはんを まもりぬけ！": "Defend the rice with beans!",
    "クザリ": "KUZARI",
    "まめまき ごはん ぼうえいせん": "Bean-toss rice defense",
    "スタート": "START",
    "せつめい": "RULES",
    "おわり": "QUIT",
    # main: cut-ins and head-up display
    "そこまで！": "Time's up!",
    "ごはんを まもった！": "You saved the rice!",
    "たべられた…": "All eaten...",
    "ごはんが なくなった": "The rice is gone",
    "のこり": "LEFT",
    "たまぎれ！": "No beans!",
    "Shiftで補充": "Shift:refill",
    # end: the result of a won round; the ranks, worst to best, fit the
    # cards' 32-pixel face (a thin space in the two-word ones)
    "おつかれさま！": "Well done!",
    "のこったごはん": "Rice left",
    "ざんねん": "TOO\u2009BAD",
    "まあまあ": "NOT\u2009BAD",
    "じょうず": "GOOD",
    "かんぺき": "GREAT!",
    # setumei: how to play
    "あそびかた": "How to Play",
    "おなかを すかせた 鬼が ごはんを ねらってくる！":
        "Hungry oni are coming for your rice!",
    "豆を なげて おいかえし、4つの ごはんを まもろう。":
        "Throw beans to drive them back and guard the 4 bowls.",
    "時間が 0に なるまで ごはんが のこれば かち、":
        "If any rice is left when the time hits 0, you win;",
    "ぜんぶ たべられたら まけ。": "if they eat it all, you lose.",
    "そうさ": "Controls",
    "キーボード": "Keyboard",
    "ジョイパッド": "Gamepad",
    "レーンを かえる": "Change lane",
    "豆を なげる（おしつづける）": "Throw beans (hold)",
    "豆を ほじゅう": "Refill beans",
    "ゲームを やめる": "Quit game",
    "↑ ↓": "↑ ↓",
    "Enter": "Enter",
    "Shift": "Shift",
    "Esc": "Esc",
    "スティック上下": "Stick up/down",
    "ボタン1": "Button 1",
    "ボタン2": "Button 2",
    "豆は 38こ。なくなったら Shiftで ほじゅう しよう。":
        "You have 38 beans. When they run out, refill with Shift.",
    "のこり時間が へると 鬼は しぶとく、はやくなる！":
        "As time runs out, the oni get tougher and faster!",
    "Enter:もどる": "Enter: back",
    # gameover
    "ゲームオーバー": "GAME OVER",
    "ごはんを ぜんぶ たべられてしまった…": "The oni ate all of your rice...",
    "Enterで タイトルへ": "Enter: back to title",
    # staff
    "かんぺき！ おめでとう！": "Perfect! Congratulations!",
    "ごはんは ひとつぶも たべられなかった。":
        "Not a single grain of rice was eaten.",
    "スタッフ": "CREDITS",
    "ゲームデザイン・プログラム": "Game design & programming",
    "クザリ せいさく いいんかい": "Kuzari Production Committee",
    "グラフィック": "Graphics",
    "サウンド・おんがく": "Sound & music",
    "こえ": "Voices",
    "eSpeak NG にほんご": "eSpeak NG, Japanese voice",
    "フォント": "Font",
    "美咲フォント": "Schumacher Clean 5x8",
    "あそんでくれて ありがとう！": "Thank you for playing!",
}
