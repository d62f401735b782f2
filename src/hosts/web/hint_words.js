// The game's own hint lines name keyboard keys: the title's and the round's
// refill line. Over them the page lays the module's words for the device in
// hand (a touch screen's controls, a pad's buttons, keys the player moved),
// as it lays the captions: the game's picture, and so its trace, stays as it
// is. With the default keys on a keyboard the module has no words: nothing
// is laid.
const HINTS = [{ hint: 1, name: 'title' }, { hint: 2, name: 'refill' }]; // the module's GameHint
const FONT_GAME_PX = 9;
const DEVICE = { keyboard: 0, pad: 1, touch: 2 }; // the module's InputDevice

const STYLE = `
.hint-words { position: fixed; box-sizing: border-box; margin: 0; display: flex; align-items: center;
    justify-content: center; background: #16163a; color: #f0f0f0; pointer-events: none; white-space: pre;
    font-family: sans-serif; transform: translateX(-50%); }
.hint-words[hidden] { display: none; }
`;

// canvas: the picture; device(): 'keyboard' or 'pad', what the player last used.
export function make_hint_words(canvas, device) {
    const style = document.createElement('style');
    style.textContent = STYLE;
    document.head.append(style);
    const lines = HINTS.map(hint => {
        const line = document.createElement('p');
        line.id = `hint-words-${hint.name}`;
        line.className = 'hint-words';
        line.hidden = true;
        canvas.after(line);
        return { hint, line, place: null };
    });
    let game = null;

    // Centred on the game's line, at least as wide, in the picture's scale.
    function place() {
        const r = canvas.getBoundingClientRect(), scale = r.width / canvas.width;
        for (const { line, place: at } of lines) {
            if (!at) continue;
            const [left, top, width, height] = at;
            Object.assign(line.style, {
                left: `${r.left + (left + width / 2) * scale}px`, top: `${r.top + top * scale}px`,
                minWidth: `${width * scale}px`, height: `${height * scale}px`,
                fontSize: `${Math.min(FONT_GAME_PX, height) * scale}px`,
            });
        }
    }

    // Once a refresh: each line's words while its hint shows and the module has words for the device.
    function refresh() {
        const running = !!game && game.running;
        const shown = running ? game.exports.web_hint_shown() : 0;
        const hand = document.body.classList.contains('touching') ? 'touch' : device();
        for (const entry of lines) {
            const words = shown === entry.hint.hint ? game.string(game.exports.web_hint_words(DEVICE[hand])) : '';
            if (words && !entry.place) {
                entry.place = [...new Int32Array(game.memory.buffer, game.exports.web_hint_place(entry.hint.hint), 4)];
                place();
            }
            if (words && entry.line.textContent !== words) entry.line.textContent = words;
            if (words && entry.line.hidden) place();
            entry.line.hidden = !words;
        }
        requestAnimationFrame(refresh);
    }
    addEventListener('resize', place);
    new ResizeObserver(place).observe(canvas);
    requestAnimationFrame(refresh);

    return {
        start(new_game) {
            game = new_game;
        },
    };
}
