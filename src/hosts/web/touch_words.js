// On a touch screen the title's and the round's hints name keys a phone has
// not got. The page lays touch words over those lines, as it lays the
// captions: the game's picture, and so its trace, stays as it is.

// Each hint: the module's word for when the game shows it, where it lies
// on the game's picture (game pixels), and the page's words for it.
const HINTS = [
    { shown: 'web_title_hint', left: 16, top: 178, width: 160, height: 14, words: 'title_touch' },
    { shown: 'web_refill_hint', left: 100, top: 208, width: 56, height: 16, words: 'refill_touch' },
];
const FONT_GAME_PX = 9;

const STYLE = `
.touch-words { position: fixed; box-sizing: border-box; margin: 0; display: flex; align-items: center;
    justify-content: center; background: #16163a; color: #f0f0f0; pointer-events: none; white-space: pre;
    font-family: sans-serif; }
.touch-words[hidden] { display: none; }
`;

// canvas: the picture; words(): the page's words now.
export function make_touch_words(canvas, words) {
    const style = document.createElement('style');
    style.textContent = STYLE;
    document.head.append(style);
    const lines = HINTS.map(hint => {
        const line = document.createElement('p');
        line.id = `touch-words-${hint.words}`;
        line.className = 'touch-words';
        line.hidden = true;
        canvas.after(line);
        return { hint, line };
    });
    let game = null;

    function place() {
        const r = canvas.getBoundingClientRect(), scale = r.width / canvas.width;
        for (const { hint, line } of lines) {
            Object.assign(line.style, {
                left: `${r.left + hint.left * scale}px`, top: `${r.top + hint.top * scale}px`,
                width: `${hint.width * scale}px`, height: `${hint.height * scale}px`, fontSize: `${FONT_GAME_PX * scale}px`,
            });
        }
    }

    // Once a refresh: each shown while its hint is and the touch controls are up.
    function refresh() {
        const touching = !!game && game.running && document.body.classList.contains('touching');
        for (const { hint, line } of lines) {
            const shown = touching && game.exports[hint.shown]() === 1;
            if (shown && line.textContent !== words()[hint.words]) line.textContent = words()[hint.words];
            if (shown && line.hidden) place();
            line.hidden = !shown;
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
