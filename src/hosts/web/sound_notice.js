// The line that says how to let the sound start. On a touch screen it asks
// for a tap and sits in the band above the picture, where neither the touch
// controls nor the options are (index.html's .notice.touch); elsewhere it
// stays under the picture.

// Whether the page is likely played by fingers: the main pointer is coarse,
// or a finger has already touched it.
let touched = false;
addEventListener('pointerdown', event => { if (event.pointerType === 'touch') touched = true; }, true);
export const touch_screen = () => touched || matchMedia('(pointer: coarse)').matches;

// element: the notice; words(): the page's words now.
// Returns update(shown), to call when the sound's state or the words change.
export function make_sound_notice(element, words) {
    return shown => {
        element.classList.toggle('touch', touch_screen());
        element.textContent = touch_screen() ? words().sound_touch : words().sound;
        element.hidden = !shown;
    };
}
