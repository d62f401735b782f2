// The keyboard and the first gamepad, for the game in live play. The keys
// that play each of the game's keys come from the game's own key table
// (web_key_code), the one the desktop takes its defaults from. Any key press
// or click also lets the sound start. The touch controls (touch.js) play the
// game's keys by name through here too, whatever keys the player bound, and
// any key or pad move tells them to go.
import { escape_is_browsers } from './fullscreen.js';

// KeyboardEvent.code -> the game's key, from the module's table.
function read_key_table(game) {
    const codes = new Map();
    const { web_key_count, web_key_code } = game.exports;
    for (let key = 0; key < web_key_count(); key++)
        for (let index = 0, pointer; (pointer = web_key_code(key, index)) !== 0; index++)
            codes.set(game.string(pointer), key);
    return codes;
}

// The standard mapping's button index -> what it does for the game, by the
// game keys' pad buttons the module keeps: { pushes (the d-pad's bits: up,
// down, left, right), buttons (the game's buttons 1 to 4) }.
function read_pad_table(game) {
    const { web_key_count, web_pad_button, web_pad_button_name } = game.exports;
    const index_of = new Map();
    for (let index = 0, pointer; (pointer = web_pad_button_name(index)) !== 0; index++)
        index_of.set(game.string(pointer), index);
    const effects = [];
    for (let key = 0; key < web_key_count(); key++)
        for (let index = 0, pointer; (pointer = web_pad_button(key, index)) !== 0; index++) {
            const button = index_of.get(game.string(pointer));
            if (button === undefined) continue;
            const effect = effects[button] ??= { pushes: 0, buttons: 0 };
            if (key < 4) effect.pushes |= 1 << key;
            else effect.buttons |= 1 << (key - 4);
        }
    return effects;
}

export function make_input(sound) {
    let game = null;  // the game the keys and the pad go to
    let codes = new Map();
    let pad_table = [];
    let pad_taken = new Set(); // the pad's buttons held for the options menu: not the game's until let go
    let key_count = 0;
    let key_named = new Map(); // the game key's name in the settings -> its number
    let quit_code = null; // the key that ends the game, from the module's table
    const held_codes = new Set();
    const touch_held = new Set(); // the game's keys the touch controls hold
    let key_or_pad_used = () => {};
    let menu_touch = () => {}; // the touch controls' presses while the options menu is open
    let pad_moves = ''; // the pad's buttons and stick as last read, to notice a move
    let device = 'keyboard'; // what the player last played with: 'keyboard' or 'pad'

    const playing = () => game && game.running && !game.box_open && !game.menu_open;

    function key_held(key) {
        if (touch_held.has(key)) return true;
        for (const code of held_codes) if (codes.get(code) === key) return true;
        return false;
    }

    addEventListener('keydown', event => {
        sound.resume();
        key_or_pad_used();
        device = 'keyboard';
        const key = codes.get(event.code);
        const quits = event.code === quit_code;
        if (!playing() || (key === undefined && !quits) || (quits && escape_is_browsers())) return;
        event.preventDefault();
        if (event.repeat) return;
        if (key !== undefined) {
            held_codes.add(event.code);
            game.exports.web_key(key, 1);
        }
        game.exports.web_key_message(quits ? 1 : 0);
    });

    addEventListener('keyup', event => {
        const key = codes.get(event.code);
        if (key === undefined) return;
        held_codes.delete(event.code);
        if (playing()) game.exports.web_key(key, key_held(key) ? 1 : 0);
    });

    // Keys held when the page loses the keyboard would never come up.
    addEventListener('blur', () => {
        held_codes.clear();
        touch_held.clear();
        if (playing()) for (let key = 0; key < key_count; key++) game.exports.web_key(key, 0);
    });

    // A touch is a gesture only once the finger lifts, so each of these may be the first.
    for (const type of ['pointerdown', 'pointerup', 'touchend', 'click']) addEventListener(type, () => sound.resume());

    // The first pad: the standard mapping's d-pad (buttons 12 to 15) and left
    // stick, and its four face buttons, south, east, west and north, as the
    // game's buttons 1 to 4.
    function read_pad() {
        if (!playing()) return;
        const pad = navigator.getGamepads ? [...navigator.getGamepads()].find(p => p && p.connected) : null;
        if (!pad) {
            game.exports.web_pad(0, 0x8000, 0x8000, 0, 0);
            return;
        }
        const moves = pad.buttons.map(b => b.pressed ? 1 : 0).join('') + pad.axes.map(a => Math.abs(a) > 0.5 ? Math.sign(a) : 0).join();
        if (moves !== pad_moves && /[1-9]/.test(moves)) {
            key_or_pad_used();
            device = 'pad';
        }
        pad_moves = moves;
        const position = value => Math.max(0, Math.min(0xffff, Math.round(((value ?? 0) + 1) * 32767.5)));
        const pressed = index => !!pad.buttons[index] && pad.buttons[index].pressed;
        let buttons = 0, pushes = 0;
        for (const index of pad_taken) if (!pressed(index)) pad_taken.delete(index);
        if (pad.mapping === 'standard') {
            pad_table.forEach((effect, index) => {
                if (!effect || !pressed(index) || pad_taken.has(index)) return;
                buttons |= effect.buttons;
                pushes |= effect.pushes;
            });
        } else {
            for (let b = 0; b < 4; b++) if (pressed(b)) buttons |= 1 << b;
        }
        game.exports.web_pad(1, position(pad.axes[0]), position(pad.axes[1]), buttons, pushes);
    }

    return {
        // From now on the keys and the pad go to this game, none held yet.
        start(new_game) {
            game = new_game;
            codes = read_key_table(game);
            pad_table = read_pad_table(game);
            key_count = game.exports.web_key_count();
            quit_code = game.string(game.exports.web_quit_code());
            key_named = new Map(Array.from({ length: key_count }, (_, key) =>
                [game.string(game.exports.web_key_name(key)), key]));
            held_codes.clear();
            touch_held.clear();
        },
        read_pad, // once a refresh
        device: () => device,
        // The keys and pad buttons were bound anew (the options).
        rebind() {
            if (!game) return;
            codes = read_key_table(game);
            pad_table = read_pad_table(game);
        },
        // The options menu opens: the game lets go of every key, and the pad's
        // buttons now held are the menu's until they are let go.
        hand_over() {
            if (game && game.running) for (let key = 0; key < key_count; key++) game.exports.web_key(key, 0);
            held_codes.clear();
            touch_held.clear();
            const pad = navigator.getGamepads ? [...navigator.getGamepads()].find(p => p && p.connected) : null;
            pad_taken = new Set(pad ? pad.buttons.flatMap((b, index) => b.pressed ? [index] : []) : []);
        },
        // Whether the game has a key with this code.
        bound: code => codes.has(code),
        // The touch controls hold or let go the game key of this name ("up").
        touch(name, held) {
            if (game?.menu_open) {
                if (held) menu_touch(name);
                return;
            }
            const key = key_named.get(name);
            if (key === undefined) return;
            if (held) touch_held.add(key);
            else touch_held.delete(key);
            if (playing()) game.exports.web_key(key, key_held(key) ? 1 : 0);
        },
        when_key_or_pad(callback) {
            key_or_pad_used = callback;
        },
        when_menu_touch(callback) {
            menu_touch = callback;
        },
    };
}
