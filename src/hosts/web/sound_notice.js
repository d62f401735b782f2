// The line that says how to let the sound start. On a touch screen it asks
// for a tap and sits in the band above the picture, where neither the touch
// controls nor the options are; elsewhere it stays under the picture.

// Whether the page is likely played by fingers: the main pointer is coarse,
// or a finger has already touched it.
let touched = false;
addEventListener('pointerdown', event => { if (event.pointerType === 'touch') touched = true; }, true);
export const touch_screen = () => touched || matchMedia('(pointer: coarse)').matches;

// element: the notice; canvas: the picture; words(): the page's words now.
// Returns update(shown), to call when the sound's state or the words change.
export function make_sound_notice(element, canvas, words) {
    function place() {
        if (element.hidden) return;
        if (!touch_screen()) {
            Object.assign(element.style, { top: '', bottom: '', left: '', right: '' });
            return;
        }
        const picture = canvas.getBoundingClientRect();
        const height = element.getBoundingClientRect().height;
        Object.assign(element.style, {
            bottom: 'auto', top: `${Math.max(0, Math.round((picture.top - height) / 2))}px`,
            left: `${Math.round(picture.left)}px`, right: `${Math.round(innerWidth - picture.right)}px`,
        });
    }
    addEventListener('resize', place);
    new ResizeObserver(place).observe(canvas);
    return shown => {
        element.textContent = touch_screen() ? words().sound_touch : words().sound;
        element.hidden = !shown;
        place();
    };
}
