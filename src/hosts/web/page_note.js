// A line the page says once to the player (in the band above the picture on
// a touch screen, under it elsewhere), gone at the next key press or touch.
import { touch_screen } from './sound_notice.js';

export function make_page_note() {
    const note = document.createElement('p');
    note.id = 'page-note';
    note.className = 'notice';
    note.hidden = true;
    document.getElementById('sound-notice').after(note);
    for (const type of ['keydown', 'pointerdown']) addEventListener(type, () => { note.hidden = true; }, true);
    return text => {
        note.classList.toggle('touch', touch_screen());
        note.textContent = text;
        note.hidden = false;
    };
}
