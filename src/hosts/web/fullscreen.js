// The full-screen button, in a corner, for the whole page (the canvas, the
// dialog and the closing panel with it). Hidden where the browser offers no
// full screen. The canvas keeps its whole-factor scale: screen.js fits it
// again on the resize that entering and leaving bring.
// `words()`: the page's words now. Returns the function that labels the
// button again, for a change of language.
export function make_fullscreen_button(button, words) {
    if (!document.fullscreenEnabled) {
        button.hidden = true;
        return () => {};
    }
    const label = () => {
        button.title = document.fullscreenElement ? words().window : words().fullscreen;
        button.setAttribute('aria-label', button.title);
        button.classList.toggle('on', !!document.fullscreenElement);
    };
    label();
    document.addEventListener('fullscreenchange', label);
    button.hidden = false;
    button.addEventListener('click', async () => {
        button.blur(); // else the game's Enter and Space would press it again
        try {
            if (document.fullscreenElement) {
                await document.exitFullscreen();
                return;
            }
            await document.documentElement.requestFullscreen({ navigationUI: 'hide' });
        } catch (error) {
            console.warn(`no full screen: ${error}`);
            return;
        }
        // Phones turn to landscape where they may; elsewhere the refusal is the answer.
        screen.orientation?.lock?.('landscape').catch(() => {});
    });
    return label;
}

// The key that ends the game, Escape, is the browser's in full screen: it
// leaves full screen, and the game does not hear it.
export function escape_is_browsers() {
    return !!document.fullscreenElement;
}
