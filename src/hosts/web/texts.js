// The page's own words, in the game's language.
export function page_texts(english) {
    return english ? {
        sound: 'Press a key or click to turn the sound on.',
        over: 'The game has ended.',
        again: 'Play again',
    } : {
        sound: 'キーを押すかクリックすると音が出ます。',
        over: 'ゲームを終了しました。',
        again: 'もう一度遊ぶ',
    };
}
