// Watching a ?playback= recording: Space or P pauses and goes on, a full stop
// steps one frame, - and + (=) go slower and faster (to unpaced), the arrows
// seek ten seconds back and forward, Home goes to the start, all through the
// module's shared viewer. While it is in use a band over the top of the
// picture says where the playback is; paused or off the game's pace nothing
// is heard.
import { draw_argb } from './options.js';

const ACTIONS = {
    Space: 0, KeyP: 0, Period: 1, Minus: 2, NumpadSubtract: 2, Equal: 3, NumpadAdd: 3,
    Home: 4, ArrowLeft: 5, ArrowRight: 6,
};
const WATCHED = 1, STANDS_STILL = 2, HUSHED = 4, IN_USE = 8;
const WIDTH = 320, HEIGHT = 240, LINGER_MS = 3000;

export function make_viewer(screen, sound) {
    let game = null;
    let shown_until = 0; // after a key the band stays a while, even at the game's pace
    const band = document.createElement('canvas');
    Object.assign(band, { id: 'viewer', width: WIDTH, height: 24, hidden: true, className: 'overlay' });
    document.getElementById('over').before(band);

    const state = () => game && game.running ? game.exports.web_viewer_state() : 0;

    addEventListener('keydown', event => {
        const action = ACTIONS[event.code];
        if (action === undefined || game?.menu_open || !(state() & WATCHED)) return;
        event.preventDefault();
        event.stopImmediatePropagation(); // the game's keys are the recording's
        if (event.repeat && action !== 1) return;
        game.exports.web_viewer_act(action);
        shown_until = performance.now() + LINGER_MS;
    }, { capture: true });

    function draw_band() {
        const now = state();
        // Paused the page's sound goes silent too: its music would play on.
        sound.hush(!!(now & (HUSHED | STANDS_STILL)));
        band.hidden = !(now & WATCHED) || (!(now & IN_USE) && performance.now() > shown_until);
        if (band.hidden) return;
        const pointer = game.exports.web_viewer_band();
        if (!pointer) return;
        const height = game.exports.web_viewer_band_height();
        const r = screen.getBoundingClientRect();
        band.height = height;
        Object.assign(band.style, { left: `${r.left}px`, top: `${r.top}px`, width: `${r.width}px`,
            height: `${r.height * height / HEIGHT}px` });
        const context = band.getContext('2d');
        draw_argb(context, context.createImageData(WIDTH, height), game.memory, pointer, WIDTH * height);
    }

    return {
        start(started) { game = started; },
        // Paused with no frame to step: the game stands still.
        held: () => !!(state() & STANDS_STILL),
        draw: draw_band,
        // For the tests: the frames run so far.
        frame: () => game ? game.exports.web_viewer_frame() : 0,
    };
}
