// On the title, a tap (or click) on START, RULES or QUIT moves the cursor
// there and chooses it as the keys would: up or down once a frame, then
// throw, each a tap of the game key through the keyboard's own path, so the
// recording holds those presses and plays back the same anywhere.

// The items' labels on the game's picture, one under another, and the room
// beside them the cursor's hand takes, in game pixels.
const ITEMS = { left: 192, right: 320, top: 112, height: 32, count: 3 };
const TITLE_SCENE = 0; // web_top_scene's

export function make_title_taps(input, canvas) {
    let game = null;
    let busy = false; // taps of the one before still going

    // Once the game has run a frame since now.
    function frame_passed() {
        const due = game.exports.web_due();
        return new Promise(resolve => {
            const look = () => (game.exports.web_due() !== due || !game.running ? resolve() : requestAnimationFrame(look));
            requestAnimationFrame(look);
        });
    }

    async function tap(key) {
        input.touch(key, true);
        input.touch(key, false);
        await frame_passed();
    }

    function item_at(event) {
        const r = canvas.getBoundingClientRect();
        const x = (event.clientX - r.left) / r.width * canvas.width;
        const y = (event.clientY - r.top) / r.height * canvas.height;
        const item = Math.floor((y - ITEMS.top) / ITEMS.height);
        return x >= ITEMS.left && x < ITEMS.right && item >= 0 && item < ITEMS.count ? item : -1;
    }

    canvas.addEventListener('pointerup', async event => {
        if (!game || busy || !game.running || game.box_open || game.menu_open) return;
        if (game.exports.web_top_scene() !== TITLE_SCENE) return;
        const item = item_at(event);
        if (item < 0) return;
        busy = true;
        try {
            const downs = (item - game.exports.web_title_cursor() + ITEMS.count) % ITEMS.count;
            const [key, moves] = downs === ITEMS.count - 1 ? ['up', 1] : ['down', downs];
            for (let move = 0; move < moves; move++) await tap(key);
            await tap('throw');
        } finally {
            busy = false;
        }
    });

    return {
        start(new_game) {
            game = new_game;
        },
    };
}
