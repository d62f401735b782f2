// The options menu over the game and the voices' captions. The menu is the
// module's (the same as the desktop's), drawn into a 320 x 240 picture the
// page lays over the game's on a canvas of its own at the same scale; on a
// touch screen the page lays the same menu out in rows for fingers
// (options_sheet.js). The captions' band goes over the picture's bottom, or
// below it when there is room. F1, Tab (while no game key has it), a pad's Start or the touch
// button open it; while it is open the game stands still, silent, as when the
// page is hidden. Each change is applied at once and kept in localStorage
// ("kuzari.options"), which the next load reads; URL parameters win for the
// session and are not written back.

import { make_options_sheet } from './options_sheet.js';
import { touch_screen } from './sound_notice.js';
import { vibration_row, buzz_for } from './vibration.js';

const STORAGE_KEY = 'kuzari.options';
const WIDTH = 320, HEIGHT = 240;
const BAND_WIDTH = 320, BAND_HEIGHT = 16; // the module's caption band
const PAD_DIRECTIONS = [[12, 'up'], [13, 'down'], [14, 'left'], [15, 'right']]; // the standard mapping's d-pad
const REPEAT_FIRST_MS = 400, REPEAT_MS = 120; // a direction held on the pad
// The module's MenuInput, MenuRequest and MenuAction: which keys and buttons
// are the menu's, and what they do, is the module's to say (web_menu_press).
const INPUT = { up: 0, down: 1, left: 2, right: 3, confirm: 4, back: 5 };
const REQUEST_RESUME = 1, REQUEST_QUIT = 2, REQUEST_WATCH_BEST_ROUND = 3;
const ACTION = { pass: 0, open: 1, close: 2, input: 3, capture: 4, swallow: 5 };

const STYLE = `
.overlay { position: fixed; pointer-events: none; image-rendering: pixelated; }
.overlay[hidden] { display: none; }
#options { pointer-events: auto; touch-action: none; }
body.playing #options { cursor: default; }
#options-button { position: absolute; box-sizing: border-box; width: 100%; height: 100%; padding: 18%;
    border: 2px solid rgba(255, 255, 255, 0.55); border-radius: 22%; background: rgba(255, 255, 255, 0.14);
    pointer-events: auto; touch-action: none; -webkit-tap-highlight-color: transparent; }
#options-button svg { display: block; width: 100%; height: 100%; stroke: rgba(255, 255, 255, 0.8); }
`;
// Three lines: the menu.
const BUTTON_SHAPE = '<svg viewBox="0 0 10 10" stroke-width="1.4" stroke-linecap="round" aria-hidden="true">' +
    '<path d="M1 2H9M1 5H9M1 8H9"/></svg>';

// What the last load kept: { section: { key: value } } ("" the main
// section), or empty when there is nothing, no storage or garbage.
export function read_kept_options() {
    let text = null;
    try {
        text = localStorage.getItem(STORAGE_KEY);
    } catch (error) {
        console.warn(`the options cannot be read: ${error}`);
        return {};
    }
    if (text === null) return {};
    try {
        const kept = JSON.parse(text);
        if (kept && typeof kept === 'object' && !Array.isArray(kept)) return kept;
    } catch (error) {
        // reported below
    }
    console.warn(`${STORAGE_KEY} holds no options; the defaults apply`);
    return {};
}

// Whether the page's language comes from the kept options: "en", "ja" or null.
export function kept_language(kept) {
    const lang = kept['']?.lang;
    return lang === 'en' || lang === 'ja' ? lang : null;
}

// ARGB pixels (the module's overlay colours) into the canvas's RGBA bytes,
// read as little-endian words (ABGR).
export function draw_argb(context, image, memory, pointer, count) {
    const argb = new Uint32Array(memory.buffer, pointer, count);
    const rgba = new Uint32Array(image.data.buffer);
    for (let i = 0; i < count; i++) {
        const p = argb[i];
        rgba[i] = (p & 0xff00ff00) | (p & 0xff) << 16 | (p >>> 16) & 0xff;
    }
    context.putImageData(image, 0, 0);
}

const lines_of = kept => Object.entries(kept).flatMap(([section, keys]) =>
    keys && typeof keys === 'object' ? Object.entries(keys).filter(([, v]) => typeof v === 'string')
        .map(([key, value]) => `${section}\t${key}\t${value}\n`) : []).join('');

// page: { screen (the game's canvas), sound, input, texts() (the page's words
// now), kept (read_kept_options's), tell(text) (a line for the player),
// watch_best_round(edition) (the Records page's "Watch the best round") }.
export function make_options(page) {
    const { screen, sound, input } = page;
    const kept = page.kept;
    let game = null;
    let pause_in_background = true;
    let vibration = true;
    let fingers = false;     // the open menu is the sheet for fingers, not the picture
    let focused = true;
    const holds = new Set(); // why the game stands still: 'menu', 'blur'
    let sound_held = false;  // the sound ran when the game was held
    let pad_was = [];        // the pad's buttons at the last look
    let repeat = null;       // { input, next } for a direction held on the pad
    let caption = 0;         // the caption the band shows (the module's number, 0 none)
    let told = false;        // the player has been told of kept options not understood

    const style = document.createElement('style');
    style.textContent = STYLE;
    document.head.append(style);
    const overlay = make_canvas('options', WIDTH, HEIGHT);
    const band = make_canvas('captions', BAND_WIDTH, BAND_HEIGHT);
    const overlay_image = overlay.getContext('2d').createImageData(WIDTH, HEIGHT);
    const band_image = band.getContext('2d').createImageData(BAND_WIDTH, BAND_HEIGHT);

    function make_canvas(id, width, height) {
        const canvas = document.createElement('canvas');
        Object.assign(canvas, { id, width, height, hidden: true, className: 'overlay' });
        document.getElementById('over').before(canvas); // under the "play again" cover
        return canvas;
    }

    // Over the picture, at its place and scale; the band below it when the
    // window has room at the same scale, else over its bottom.
    function lay_out() {
        const r = screen.getBoundingClientRect();
        Object.assign(overlay.style, { left: `${r.left}px`, top: `${r.top}px`, width: `${r.width}px`, height: `${r.height}px` });
        const band_height = r.height * BAND_HEIGHT / HEIGHT;
        const top = r.bottom + band_height <= innerHeight ? r.bottom : r.bottom - band_height;
        Object.assign(band.style, { left: `${r.left}px`, top: `${top}px`, width: `${r.width}px`, height: `${band_height}px` });
    }
    addEventListener('resize', lay_out);
    new ResizeObserver(lay_out).observe(screen);

    // ---- Holding the game still ----

    function hold(reason, on) {
        const was = holds.size > 0;
        if (on) holds.add(reason);
        else holds.delete(reason);
        const now = holds.size > 0;
        if (was === now) return;
        if (now) {
            sound_held = sound.context()?.state === 'running';
            sound.suspend();
        } else if (sound_held && !document.hidden) {
            sound_held = false;
            sound.resume();
        }
    }

    // A hold let go while the page was hidden: the sound comes back with the page.
    document.addEventListener('visibilitychange', () => {
        if (document.hidden || holds.size || !sound_held) return;
        sound_held = false;
        sound.resume();
    });

    // With "pause in the background" the game also stands still while the
    // window is not the player's (another window in front); a hidden page
    // always stands still, as browsers give it no refreshes.
    addEventListener('blur', () => {
        focused = false;
        if (pause_in_background && game?.running) hold('blur', true);
    });
    addEventListener('focus', () => {
        focused = true;
        hold('blur', false);
    });

    // ---- Applying and keeping ----

    function apply_sound() {
        const { web_option_volume, web_option_mute } = game.exports;
        sound.set_volumes(web_option_mute() ? 0 : web_option_volume(0) / 100, web_option_volume(1) / 100,
            web_option_volume(2) / 100);
    }

    function apply_all() {
        apply_sound();
        pause_in_background = game.exports.web_option_pause() === 1;
        vibration = game.exports.web_option_vibration() === 1;
        if (!pause_in_background) hold('blur', false);
        input.rebind();
    }

    function write_text(text) {
        const bytes = new TextEncoder().encode(text);
        const at = game.exports.web_text_buffer(bytes.length); // before the memory is read: it may grow
        new Uint8Array(game.memory.buffer, at, bytes.length).set(bytes);
    }

    function keep() {
        try {
            localStorage.setItem(STORAGE_KEY, JSON.stringify(kept));
        } catch (error) {
            console.warn(`the options cannot be kept: ${error}`);
            write_text(page.texts().options_not_kept);
            game.exports.web_menu_report();
        }
    }

    function take_changes() {
        const text = game.string(game.exports.web_menu_changes());
        if (!text) return;
        for (const line of text.split('\n')) {
            const [section, key, value] = line.split('\t');
            if (value === undefined) continue;
            (kept[section] ??= {})[key] = value;
        }
        apply_all();
        keep();
    }

    // ---- The menu ----

    const is_open = () => !!game?.menu_open;

    // On a touch screen the page lays the menu out itself, a thumb's size a row.
    const sheet = make_options_sheet(screen, (row, direction) => {
        if (is_open()) after(game.exports.web_menu_tap(row, direction));
    });

    function draw_menu() {
        if (fingers) sheet.show(game.string(game.exports.web_menu_sheet()));
        else draw_argb(overlay.getContext('2d'), overlay_image, game.memory, game.exports.web_menu_picture(), WIDTH * HEIGHT);
    }

    function open() {
        if (!game || !game.running || game.box_open || game.over || game.menu_open) return;
        fingers = touch_screen();
        if (!game.exports.web_menu_open(fingers ? 1 : 0, vibration_row() ? 1 : 0)) {
            console.warn('the options menu cannot be shown without its font');
            return;
        }
        game.menu_open = true;
        input.hand_over();
        hold('menu', true);
        lay_out();
        draw_menu();
        overlay.hidden = fingers;
    }

    function close(request) {
        game.exports.web_menu_close();
        game.menu_open = false;
        overlay.hidden = true;
        sheet.hide();
        input.hand_over();
        hold('menu', false);
        if (request === REQUEST_QUIT) game.exports.web_key_message(1); // as Escape ends it
    }

    // After the menu has had an input: what it changed, what it asks for.
    function after(request) {
        take_changes();
        if (request === REQUEST_RESUME || request === REQUEST_QUIT) close(request);
        else if (request === REQUEST_WATCH_BEST_ROUND) {
            close(REQUEST_RESUME);
            page.watch_best_round?.(game.exports.web_english() === 1 ? 'en' : 'ja');
        } else draw_menu();
    }

    function menu_input(which) {
        after(game.exports.web_menu_input(which));
    }

    // A key or pad button down, as the module's rules take it: the action it
    // did or asks for; ACTION.pass leaves the press to the game.
    function menu_press(name, is_pad_button, repeat = false) {
        write_text(name);
        const step = game.exports.web_menu_press(is_pad_button ? 1 : 0, !is_pad_button && input.bound(name) ? 1 : 0,
            repeat ? 1 : 0);
        const action = step >> 2;
        if (action === ACTION.open) open();
        else if (action === ACTION.close) close(REQUEST_RESUME);
        else if (action === ACTION.input || action === ACTION.capture) after(step & 3);
        return action;
    }

    // Before the game's own keys (input.js): the menu's keys, and every key while it is open.
    addEventListener('keydown', event => {
        if (!game || !game.running || game.box_open) return;
        const open_before = is_open();
        if (menu_press(event.code, false, event.repeat) === ACTION.pass && !open_before) return;
        event.preventDefault();
        event.stopImmediatePropagation();
    }, true);

    overlay.addEventListener('pointerdown', event => {
        event.preventDefault();
        event.stopPropagation(); // no sound resumed while the game stands still
        if (!is_open()) return;
        const r = overlay.getBoundingClientRect();
        const x = Math.floor((event.clientX - r.left) / r.width * WIDTH);
        const y = Math.floor((event.clientY - r.top) / r.height * HEIGHT);
        after(game.exports.web_menu_pointer(x, y));
    });

    // The button in the touch controls' slot, beside the full-screen one.
    const slot = document.getElementById('touch-menu-slot');
    const button = document.createElement('button');
    button.id = 'options-button';
    button.type = 'button';
    button.innerHTML = BUTTON_SHAPE;
    const label_button = () => button.setAttribute('aria-label', page.texts().options);
    label_button();
    if (slot) {
        slot.append(button);
        slot.hidden = false;
        const clear_of_fullscreen = () => {
            button.style.transform = '';
            const full = document.getElementById('fullscreen');
            if (!full || full.hidden) return;
            const a = button.getBoundingClientRect(), b = full.getBoundingClientRect();
            if (a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom)
                button.style.transform = `translateX(${Math.round(b.left - a.right - a.width * 0.2)}px)`;
        };
        new MutationObserver(clear_of_fullscreen).observe(slot, { attributes: true, attributeFilter: ['style'] });
        addEventListener('resize', clear_of_fullscreen);
    }
    button.addEventListener('pointerdown', event => event.stopPropagation());
    button.addEventListener('click', () => {
        button.blur();
        if (is_open()) close(REQUEST_RESUME);
        else open();
    });

    // The touch controls drive the menu as the keys they stand for do.
    const TOUCH_INPUT = { up: INPUT.up, down: INPUT.down, throw: INPUT.confirm };
    input.when_menu_touch?.(name => {
        if (is_open() && game.exports.web_menu_capturing() !== 1 && name in TOUCH_INPUT) menu_input(TOUCH_INPUT[name]);
    });

    // ---- The pad and the captions, once a refresh ----

    function read_pad(now) {
        const pad = navigator.getGamepads ? [...navigator.getGamepads()].find(p => p && p.connected) : null;
        const pressed = pad && pad.mapping === 'standard' ? pad.buttons.map(b => b.pressed) : [];
        const was = pad_was;
        const newly = index => pressed[index] && !was[index];
        pad_was = pressed;
        const directions = PAD_DIRECTIONS.map(([index]) => index);
        const open_before = is_open();
        const capturing = open_before && game.exports.web_menu_capturing() === 1;
        if (!open_before) repeat = null;
        if (!open_before && (!game.running || game.box_open)) return;
        // Each button newly down, to the module: the d-pad's below, again and
        // again while held, unless a new button is wanted.
        for (let index = 0; index < pressed.length; ++index) {
            if (!newly(index) || (open_before && !capturing && directions.includes(index))) continue;
            const name = game.exports.web_pad_button_name(index);
            if (!name) continue;
            menu_press(game.string(name), true);
            if (is_open() !== open_before || (capturing && game.exports.web_menu_capturing() !== 1)) return;
        }
        if (!open_before || capturing) {
            // A direction just taken as a new button moves nothing until let go.
            repeat = capturing ? { input: null } : null;
            return;
        }
        // The d-pad or the left stick, again and again while held.
        const [x, y] = pad ? [pad.axes[0] ?? 0, pad.axes[1] ?? 0] : [0, 0];
        let direction = PAD_DIRECTIONS.find(([index]) => pressed[index])?.[1];
        direction ??= y < -0.5 ? 'up' : y > 0.5 ? 'down' : x < -0.5 ? 'left' : x > 0.5 ? 'right' : undefined;
        if (!direction) {
            repeat = null;
        } else if (repeat && repeat.input === null) {
            // held on from a capture
        } else if (repeat?.input !== INPUT[direction]) {
            repeat = { input: INPUT[direction], next: now + REPEAT_FIRST_MS };
            menu_input(repeat.input);
        } else if (now >= repeat.next) {
            repeat.next = now + REPEAT_MS;
            menu_input(repeat.input);
        }
    }

    function show_caption() {
        const showing = game.running ? game.exports.web_caption_showing() : 0;
        if (showing === caption) return;
        caption = showing;
        band.hidden = !showing;
        if (!showing) return;
        lay_out();
        draw_argb(band.getContext('2d'), band_image, game.memory, game.exports.web_caption_band(), BAND_WIDTH * BAND_HEIGHT);
    }

    function refresh(now) {
        if (!game || !game.running) {
            band.hidden = overlay.hidden = true;
            sheet.hide();
            caption = 0;
            return;
        }
        const playing = game;
        try {
            read_pad(now);
            show_caption();
            buzz_for(game, vibration);
        } catch (error) {
            console.error(error);
        }
        if (game === playing) requestAnimationFrame(refresh);
    }

    return {
        // A new game: the kept options go to its module before it starts.
        start(new_game) {
            game = new_game;
            game.menu_open = false;
            caption = 0;
            write_text(lines_of(kept));
            const refused = game.exports.web_options_set();
            if (refused) console.warn(`${refused} of the kept options were not understood; they keep their defaults`);
            if (refused && !told) page.tell?.(page.texts().options_refused); // once a visit, not every game
            told ||= refused > 0;
            apply_all();
            if (!focused && pause_in_background) hold('blur', true);
        },
        // Once the game is under way.
        run() {
            requestAnimationFrame(refresh);
        },
        held: () => holds.size > 0,
        relabel: label_button,
        // For the Back button (back_button.js).
        open,
        is_open,
        running: () => !!game && game.running && !game.box_open && !game.over,
    };
}
