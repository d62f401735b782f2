// A phone's Back button during play: the first press opens the options menu
// (the game stands still), a second one leaves the page. An entry of the
// page's own lies on top of the history while the game runs with the menu
// closed; Back takes it off, and the menu opens in its place. Browsers skip
// entries added without a gesture, so it is laid on the player's first one.

// options: { open(), is_open(), running() (a game is under way, nothing else in front) }.
export function make_back_button(options) {
    let laid = false;

    function lay() {
        if (laid || options.is_open() || !options.running()) return;
        history.pushState({ kuzari: 'back opens the options' }, '');
        laid = true;
    }

    for (const type of ['keyup', 'pointerup']) addEventListener(type, () => setTimeout(lay), true);
    addEventListener('popstate', () => {
        laid = false;
        if (!options.is_open() && options.running()) options.open();
    });
}
