// A short buzz where the browser offers one: as a bowl is emptied, a longer
// one as the round ends. The module says when (web_take_vibration, from the
// game's state); the options menu has the row that turns it off.
const BOWL_EMPTIED = 1, ROUND_ENDED = 2; // the module's cue bits
import { touch_screen } from './sound_notice.js';

const BOWL_MS = 40, ROUND_PATTERN = [80, 60, 80];

const vibration_offered = () => typeof navigator.vibrate === 'function';
// Whether the options show the row: a browser that can vibrate, in a hand
// (a desktop browser offers the call but has nothing to buzz).
export const vibration_row = () => vibration_offered() && touch_screen();

// Once a refresh: the cues since the last, buzzed when `on`.
export function buzz_for(game, on) {
    const cues = game.exports.web_take_vibration();
    if (!cues || !on || !vibration_offered()) return;
    try {
        navigator.vibrate(cues & ROUND_ENDED ? ROUND_PATTERN : cues & BOWL_EMPTIED ? BOWL_MS : 0);
    } catch (error) {
        console.warn(`no vibration: ${error}`);
    }
}
