// Watching a ?playback= recording: Space or P pauses and goes on, a full stop
// steps one frame, - and + (=) go slower and faster (to unpaced), the arrows
// seek ten seconds back and forward, Home goes to the start, all through the
// module's shared viewer; the pad's buttons as on the desktop (the module's
// table), and on a touch screen a row of buttons under the picture, which a
// tap anywhere brings up. While it is in use a band over the top of the
// picture says where the playback is; paused or off the game's pace nothing
// is heard.
import { draw_argb } from './options.js';
import { touch_screen } from './sound_notice.js';

const ACTIONS = {
    Space: 0, KeyP: 0, Period: 1, Minus: 2, NumpadSubtract: 2, Equal: 3, NumpadAdd: 3,
    Home: 4, ArrowLeft: 5, ArrowRight: 6,
};
const WATCHED = 1, STANDS_STILL = 2, HUSHED = 4, IN_USE = 8;
const WIDTH = 320, HEIGHT = 240, LINGER_MS = 3000;
// The touch row, left to right: to the start, back, slower, pause, step, faster, forward.
const ROW = [[4, '|◀'], [5, '◀◀'], [2, '−'], [0, '▶❚❚'], [1, '❚▶'], [3, '+'], [6, '▶▶']];
const STYLE = `
#viewer-controls { position: fixed; z-index: 1; display: flex; justify-content: center; gap: 2%; }
#viewer-controls[hidden] { display: none; }
#viewer-controls button { flex: 0 1 13%; min-width: 44px; min-height: 44px; padding: 0; font: bold 16px sans-serif;
    color: #eee; background: rgba(20, 20, 20, 0.75); border: 1px solid #777; border-radius: 0.4em;
    touch-action: none; -webkit-tap-highlight-color: transparent; }
`;

// texts(): the page's words now, `viewer` the touch row's labels in its order.
export function make_viewer(screen, sound, texts) {
    let game = null;
    let shown_until = 0; // after a key the band stays a while, even at the game's pace
    let pad_was = [];    // the pad's buttons at the last look
    const band = document.createElement('canvas');
    Object.assign(band, { id: 'viewer', width: WIDTH, height: 24, hidden: true, className: 'overlay' });
    document.getElementById('over').before(band);

    const state = () => game && game.running ? game.exports.web_viewer_state() : 0;

    function act(action) {
        game.exports.web_viewer_act(action);
        shown_until = performance.now() + LINGER_MS;
    }

    document.head.append(Object.assign(document.createElement('style'), { textContent: STYLE }));
    const row = Object.assign(document.createElement('div'), { id: 'viewer-controls', hidden: true });
    for (const [action, shape] of ROW) {
        const button = document.createElement('button');
        Object.assign(button, { type: 'button', textContent: shape });
        button.addEventListener('pointerdown', event => {
            event.preventDefault();
            event.stopPropagation(); // the game's touch controls are not the viewer's
            if (!game?.menu_open && state() & WATCHED) act(action);
        });
        row.append(button);
    }
    document.getElementById('over').before(row);
    const label_row = () => [...row.children].forEach((button, i) => button.setAttribute('aria-label', texts().viewer[i]));
    label_row();

    // A tap anywhere brings the row up (and the band) for a while.
    addEventListener('pointerdown', event => {
        if (event.pointerType === 'touch' && state() & WATCHED) shown_until = performance.now() + LINGER_MS;
    }, { capture: true });

    // The pad's buttons newly down, as the desktop's viewer takes them.
    function read_pad() {
        const pad = navigator.getGamepads ? [...navigator.getGamepads()].find(p => p && p.connected) : null;
        const pressed = pad && pad.mapping === 'standard' ? pad.buttons.map(b => b.pressed) : [];
        const was = pad_was;
        pad_was = pressed;
        if (game?.menu_open || !(state() & WATCHED)) return;
        pressed.forEach((down, index) => {
            if (!down || was[index]) return;
            const action = game.exports.web_viewer_button(index);
            if (action >= 0) act(action);
        });
    }

    addEventListener('keydown', event => {
        const action = ACTIONS[event.code];
        if (action === undefined || game?.menu_open || !(state() & WATCHED)) return;
        event.preventDefault();
        event.stopImmediatePropagation(); // the game's keys are the recording's
        if (event.repeat && action !== 1) return;
        act(action);
    }, { capture: true });

    function draw_band() {
        read_pad();
        const now = state();
        // Paused the page's sound goes silent too: its music would play on.
        sound.hush(!!(now & (HUSHED | STANDS_STILL)));
        band.hidden = !(now & WATCHED) || (!(now & IN_USE) && performance.now() > shown_until);
        row.hidden = band.hidden || !touch_screen();
        if (band.hidden) return;
        const r = screen.getBoundingClientRect();
        // The row under the picture when there is room, else over its bottom.
        const row_height = Math.max(44, r.height / 8);
        Object.assign(row.style, { left: `${r.left}px`, width: `${r.width}px`, height: `${row_height}px`,
            top: `${r.bottom + row_height + 8 <= innerHeight ? r.bottom + 4 : r.bottom - row_height - 4}px` });
        const pointer = game.exports.web_viewer_band();
        if (!pointer) return;
        const height = game.exports.web_viewer_band_height();
        band.height = height;
        Object.assign(band.style, { left: `${r.left}px`, top: `${r.top}px`, width: `${r.width}px`,
            height: `${r.height * height / HEIGHT}px` });
        const context = band.getContext('2d');
        draw_argb(context, context.createImageData(WIDTH, height), game.memory, pointer, WIDTH * height);
    }

    return {
        start(started) { game = started; },
        relabel: label_row,
        // Paused with no frame to step: the game stands still.
        held: () => !!(state() & STANDS_STILL),
        draw: draw_band,
        // For the tests: the frames run so far.
        frame: () => game ? game.exports.web_viewer_frame() : 0,
        // For the tests: web_viewer_state's bits.
        state,
    };
}
