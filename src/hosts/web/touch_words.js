// On a touch screen the title's hint line names keys a phone has not got.
// The page lays touch words over that line, as it lays the captions: the
// game's picture, and so its trace, stays as it is.

// The hint's line on the game's picture, in game pixels.
const LINE = { left: 16, top: 178, width: 160, height: 14 };

const STYLE = `
#touch-words { position: fixed; box-sizing: border-box; margin: 0; display: flex; align-items: center;
    justify-content: center; background: #16163a; color: #f0f0f0; pointer-events: none; white-space: pre;
    font-family: sans-serif; }
#touch-words[hidden] { display: none; }
`;

// canvas: the picture; words(): the page's words now.
export function make_touch_words(canvas, words) {
    const style = document.createElement('style');
    style.textContent = STYLE;
    document.head.append(style);
    const line = document.createElement('p');
    line.id = 'touch-words';
    line.hidden = true;
    canvas.after(line);
    let game = null;

    function place() {
        const r = canvas.getBoundingClientRect(), scale = r.width / canvas.width;
        Object.assign(line.style, {
            left: `${r.left + LINE.left * scale}px`, top: `${r.top + LINE.top * scale}px`,
            width: `${LINE.width * scale}px`, height: `${LINE.height * scale}px`, fontSize: `${9 * scale}px`,
        });
    }

    // Once a refresh: shown while the title's hint is and the touch controls are up.
    function refresh() {
        const shown = !!game && game.running && document.body.classList.contains('touching') &&
            game.exports.web_title_hint() === 1;
        if (shown && line.textContent !== words().title_touch) line.textContent = words().title_touch;
        if (shown && line.hidden) place();
        line.hidden = !shown;
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
