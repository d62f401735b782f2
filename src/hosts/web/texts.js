// The page's own words, in the game's language.
export function page_texts(english) {
    return english ? {
        sound: 'Press a key or click to turn the sound on.',
        sound_touch: 'Tap to turn the sound on.',
        turn: 'Turn your phone sideways for a larger picture.',
        over: 'The game has ended.',
        again: 'Play again',
        crashed: 'The game stopped with an error:',
        save: 'Save the recording of this game for a bug report',
        no_playback: 'The recording cannot be played:',
        fullscreen: 'Full screen',
        window: 'Leave full screen',
        options: 'Options (F1)',
        options_not_kept: 'The browser cannot keep the options.',
        options_refused: 'Some of the kept options were not understood; they are back to their defaults.',
    } : {
        sound: 'キーを押すかクリックすると音が出ます。',
        sound_touch: 'タップすると音が出ます。',
        turn: 'スマートフォンを横向きにすると画面が大きくなります。',
        over: 'ゲームを終了しました。',
        again: 'もう一度遊ぶ',
        crashed: 'エラーでゲームが止まりました:',
        save: 'バグ報告用にこのゲームの記録を保存する',
        no_playback: '記録を再生できません:',
        fullscreen: '全画面表示',
        window: '全画面表示を終了',
        options: 'オプション (F1)',
        options_not_kept: 'ブラウザに設定を保存できません。',
        options_refused: '保存された設定の一部を読めなかったため、初期値に戻しました。',
    };
}
