// On a phone held upright the picture can only be as wide as the phone, a
// third of the screen's height; turned sideways it is a third larger, with
// the controls beside it. A line just above the picture says so, where
// nothing else is (index.html's .notice.touch.above), while a touch screen
// stands upright and the band there has room for it and the sound's notice.
import { touch_screen } from './sound_notice.js';

// canvas: the picture; words(): the page's words now.
// Returns relabel(), for a change of language.
export function make_turn_hint(canvas, words) {
    const hint = document.createElement('p');
    hint.id = 'turn-hint';
    hint.className = 'notice touch above';
    hint.hidden = true;
    document.getElementById('sound-notice').after(hint);

    function place() {
        hint.textContent = words().turn;
        const band = (innerHeight - canvas.getBoundingClientRect().height) / 2;
        const line = parseFloat(getComputedStyle(hint).lineHeight) || 20;
        hint.hidden = !(innerHeight > innerWidth && touch_screen() && band >= 5 * line);
    }
    addEventListener('resize', place);
    addEventListener('pointerdown', () => requestAnimationFrame(place)); // a first touch shows a touch screen
    new ResizeObserver(place).observe(canvas);
    place();
    return place;
}
