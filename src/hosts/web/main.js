// Kuzari in the browser: fetches the game's data into a file system in memory,
// starts the game (WebAssembly) and drives it from the display's refresh, with
// the keyboard, the first gamepad, Web Audio and the page's own dialog.
//
// URL parameters: lang=ja|en (else the browser's language); seed=N (the random
// seed, else the calendar clock). For the tests: replay=URL plays a
// kuzari-replay script frame by frame on a fixed clock, as kuzari-replay does,
// keeping each frame's picture hash in window.kuzari.hashes (the Japanese
// edition unless lang=en or the script asks); record=1 keeps them in live play
// too, with a recording of the input that kuzari-replay plays to the same
// pictures (window.kuzari.recording()).
import { make_wasi, complete_imports } from './wasi_shim.js';
import { make_screen } from './screen.js';
import { make_sound } from './sound.js';

const params = new URLSearchParams(location.search);
const replay_url = params.get('replay');
const english = params.has('lang') ? params.get('lang') === 'en'
    : !replay_url && !/^ja\b/i.test(navigator.language || '');
const seed_param = params.has('seed') ? Number(params.get('seed')) >>> 0 : null;
const recording = params.get('record') === '1';

const FIRST_CLOCK_MS = 1000; // the game clock at start-up: the first frame runs at once
const STAND_STILL_MS = 100;  // further behind than this (a box, a hidden tab), the game stands still

const texts = english ? {
    sound: 'Press a key or click to turn the sound on.',
    over: 'The game has ended.',
    again: 'Play again',
} : {
    sound: 'キーを押すかクリックすると音が出ます。',
    over: 'ゲームを終了しました。',
    again: 'もう一度遊ぶ',
};
document.documentElement.lang = english ? 'en' : 'ja';

// What the tests and the curious read back.
const stats = window.kuzari = {
    state: 'loading', // loading, running, over, error
    error: null,
    english,
    t_first_frame: 0,        // performance.now() when the first picture was drawn
    frames_drawn: 0,
    sources_started: 0,      // AudioBufferSourceNodes made for effects and voices
    music_started: [],       // recordings started, by name
    music_refused: 0,        // MIDI files the build did not render
    decode_ms: {},           // how long each recording took to decode, by name
    t_first_music: 0,        // performance.now() when the first piece started
    boxes: [],               // [caption, text] of every box the game showed
    refreshes: [],           // [ms of work, frames run, ms drawing, refresh time] of each refresh that ran a frame (the last 2000)
    scene: () => 0,
    // Test mode and recording only:
    hashes: [],              // every frame's picture hash, frame 0 first
    events: [],              // per frame: what it asked of the sound and music
    frame_events: replay_url || recording ? [] : null,
    script_error: null,
    replay_ms: 0,            // how long the script took to play
    recording: () => '',
    decoded_length: piece => sound.decoded_length(piece), // a recording's samples and rate
    audio_state: () => sound.context()?.state ?? 'none',
};

const canvas = document.getElementById('screen');
const screen = make_screen(canvas);
const sound_notice = document.getElementById('sound-notice');
const sound = make_sound(stats, state => {
    sound_notice.textContent = texts.sound;
    sound_notice.hidden = state !== 'suspended';
});
const box = document.getElementById('box');
const over = document.getElementById('over');
document.getElementById('over-text').textContent = texts.over;
document.getElementById('again').textContent = texts.again;

// The game running: its exports and memory, its clock and when its next frame
// is due (ms), the real time its clock counts from, and where it stands.
let game = null; // { exports, memory, clock, due, origin, box_open, over, running, started }

function c_string(pointer) {
    const bytes = new Uint8Array(game.memory.buffer, pointer);
    return new TextDecoder().decode(bytes.subarray(0, bytes.indexOf(0)));
}

const hex = (high, low) => (high >>> 0).toString(16).padStart(8, '0') + (low >>> 0).toString(16).padStart(8, '0');

// ---- Loading -------------------------------------------------------------------

async function fetch_bytes(url) {
    const response = await fetch(url);
    if (!response.ok) throw new Error(`${url}: HTTP ${response.status}`);
    return new Uint8Array(await response.arrayBuffer());
}

// A data file as the game reads it: served gzipped, inflated here. A file the
// server lacks is simply absent; bytes that do not inflate are handed over as
// they came, as a damaged file is on the desktop.
async function fetch_data_file(path) {
    let packed;
    try {
        packed = await fetch_bytes(`data/${path}.gz`);
    } catch (error) {
        console.warn(String(error));
        return null;
    }
    try {
        const inflated = new Blob([packed]).stream().pipeThrough(new DecompressionStream('gzip'));
        return new Uint8Array(await new Response(inflated).arrayBuffer());
    } catch (error) {
        console.warn(`data/${path}.gz does not inflate: ${error}`);
        return packed;
    }
}

// Compiled as it downloads; from the whole file when the server does not call
// it application/wasm, which streaming needs.
async function compile(url) {
    try {
        return await WebAssembly.compileStreaming(fetch(url));
    } catch (error) {
        if (!(error instanceof TypeError)) throw error;
        return WebAssembly.compile(await fetch_bytes(url));
    }
}

async function load() {
    const manifest = fetch('manifest.json').then(response => response.json());
    const module = compile('kuzari.wasm');
    const { data, music } = await manifest;
    sound.set_pieces(music);
    const files = new Map();
    await Promise.all(data.map(async path => {
        const bytes = await fetch_data_file(path);
        if (bytes) files.set(path, bytes);
    }));
    return { module: await module, files };
}

// ---- The game's host -----------------------------------------------------------

function show_box(text, caption, error_icon) {
    stats.boxes.push([caption, text]);
    if (replay_url) return; // test mode: noted, as kuzari-replay notes it
    box.querySelector('.caption').textContent = caption;
    box.querySelector('.text').textContent = text;
    box.classList.toggle('error', !!error_icon);
    game.box_open = true;
    box.showModal();
}

box.addEventListener('close', () => {
    if (!game) return;
    game.box_open = false;
    if (game.over) finish();
});

function host_imports() {
    const h = sound.host;
    return {
        present: (pointer, pitch) => screen.present(pointer, pitch),
        open_display: (width, height) => (screen.open(width, height) ? 1 : 0),
        close_display: () => screen.close(),
        message_box: (text, caption, error_icon) => show_box(c_string(text), c_string(caption), error_icon),
        calendar_seconds: () => seed_param ?? (Math.floor(Date.now() / 1000) >>> 0),
        audio_open: () => h.audio_open(),
        audio_close: () => h.audio_close(),
        clip_bind: (slot, pointer, bytes, rate, bits, channels) =>
            h.clip_bind(game.memory, slot, pointer, bytes >>> 0, rate >>> 0, bits, channels),
        clip_unbind: slot => h.clip_unbind(slot),
        clip_play: slot => h.clip_play(slot),
        music_open: () => h.music_open(),
        music_close: () => h.music_close(),
        music_find: (high, low, size) => h.music_find(hex(high, low), size >>> 0),
        music_play: (piece, plays) => h.music_play(piece, plays),
        music_stop: () => h.music_stop(),
        frame_finished: (_presented, high, low) => {
            stats.hashes.push(hex(high, low));
            stats.events.push(stats.frame_events);
            stats.frame_events = [];
        },
    };
}

async function make_game(loaded) {
    const memory = () => game.memory;
    const wasi = complete_imports(loaded.module, make_wasi(loaded.files, memory));
    const instance = await WebAssembly.instantiate(loaded.module, { host: host_imports(), wasi_snapshot_preview1: wasi });
    const exports = instance.exports;
    game = { exports, memory: exports.memory, clock: FIRST_CLOCK_MS, due: FIRST_CLOCK_MS, origin: 0,
             box_open: false, over: false, running: false, started: false };
    exports._initialize(); // the module's constructors
    exports.web_set_language(english ? 1 : 0);
    return game;
}

// ---- Live play -------------------------------------------------------------------

// Steps the game up to the real time: at each step's end the game says when
// its next frame is due (17 ms after the last one began), and the clock moves
// there once the real time has passed it. Frames thus fall 17 ms apart on the
// game's clock, 58.8 a second, whatever the display's refresh rate.
function advance(now) {
    let real = now - game.origin;
    if (real - game.due > STAND_STILL_MS) { // stood still: carry on from here, without catching up
        game.origin += real - game.due;
        real = game.due;
    }
    let frames = 0;
    while (game.running && !game.box_open) {
        const result = game.exports.web_step(game.clock);
        if (result === 0) {
            game.running = false;
            game.over = true;
            break;
        }
        if (result === 2) {
            const due = game.exports.web_due() >>> 0;
            if (due !== game.due) frames++;
            game.due = due;
            if (due > real) break;
            game.clock = due;
        }
    }
    return frames;
}

function draw() {
    if (!screen.draw(game.memory)) return;
    if (stats.frames_drawn++ === 0) stats.t_first_frame = performance.now();
}

function refresh(now) {
    if (!game || game.over && !game.box_open) return;
    try {
        const began = performance.now();
        read_pad();
        const frames = advance(now);
        const drawing = performance.now();
        draw();
        if (frames) {
            const end = performance.now();
            stats.refreshes.push([end - began, frames, end - drawing, now]);
            if (stats.refreshes.length > 2000) stats.refreshes.shift();
        }
    } catch (error) {
        fail(error);
        return;
    }
    if (game.over && !game.box_open) finish();
    else requestAnimationFrame(refresh);
}

function finish() {
    if (stats.state === 'over') return;
    if (game.started) game.exports.web_finish(); // a start that failed has taken itself down
    stats.state = 'over';
    document.body.classList.remove('playing');
    over.hidden = false;
    document.getElementById('again').focus();
}

async function play(loaded) {
    await make_game(loaded);
    stats.state = 'running';
    over.hidden = true;
    document.body.classList.add('playing');
    stats.scene = () => game.exports.web_top_scene();
    const now = performance.now();
    game.origin = now - FIRST_CLOCK_MS;
    held_codes.clear();
    if (recording) {
        game.exports.web_trace();
        stats.hashes = [];
        stats.events = [];
        stats.recording = () => c_string(game.exports.web_recording());
    }
    game.started = game.running = game.exports.web_start(game.clock) === 1;
    if (recording) game.exports.web_report_frame0();
    game.over = !game.running;
    refresh(now); // the first frame now, not at the next refresh
    setTimeout(() => sound.fetch_all(), 0); // the music, once the game is under way
}

// ---- Test mode ---------------------------------------------------------------------

async function replay(loaded) {
    const text = await (await fetch(replay_url)).text();
    await make_game(loaded);
    const bytes = new TextEncoder().encode(text);
    new Uint8Array(game.memory.buffer, game.exports.web_script_buffer(bytes.length), bytes.length).set(bytes);
    if (!game.exports.web_use_script()) {
        stats.script_error = c_string(game.exports.web_script_error());
        throw new Error(stats.script_error);
    }
    stats.state = 'running';
    const began = performance.now();
    game.started = game.running = game.exports.web_start(0) === 1;
    game.exports.web_report_frame0();
    // In slices, so that the page stays responsive and the driver can look in.
    await new Promise((done, failed) => {
        const slice = () => {
            const until = performance.now() + 50;
            while (game.running && performance.now() < until) game.running = game.exports.web_step(0) !== 0;
            draw();
            if (game.running) setTimeout(() => { try { slice(); } catch (error) { failed(error); } }, 0);
            else done();
        };
        slice();
    });
    if (game.started) game.exports.web_finish();
    stats.replay_ms = performance.now() - began;
    stats.state = 'over';
}

// ---- Keyboard and gamepad -------------------------------------------------------------

// The game's keys, as on the desktop: arrows, Enter, Shift, Ctrl, Space.
const game_keys = {
    ArrowUp: 0, ArrowDown: 1, ArrowLeft: 2, ArrowRight: 3,
    Enter: 4, NumpadEnter: 4, ShiftLeft: 5, ShiftRight: 5, ControlLeft: 6, ControlRight: 6, Space: 7,
};
const held_codes = new Set();

function playing() {
    return game && game.running && !game.box_open && !replay_url;
}

function key_held(key) {
    for (const code of held_codes) if (game_keys[code] === key) return true;
    return false;
}

addEventListener('keydown', event => {
    sound.resume();
    const key = game_keys[event.code];
    if (!playing() || (key === undefined && event.code !== 'Escape')) return;
    event.preventDefault();
    if (event.repeat) return;
    if (key !== undefined) {
        held_codes.add(event.code);
        game.exports.web_key(key, 1);
    }
    game.exports.web_key_message(event.code === 'Escape' ? 1 : 0);
});

addEventListener('keyup', event => {
    const key = game_keys[event.code];
    if (key === undefined) return;
    held_codes.delete(event.code);
    if (playing()) game.exports.web_key(key, key_held(key) ? 1 : 0);
});

// Keys held when the page loses the keyboard would never come up.
addEventListener('blur', () => {
    held_codes.clear();
    if (playing()) for (let key = 0; key < 8; key++) game.exports.web_key(key, 0);
});

addEventListener('pointerdown', () => sound.resume());

// The game stands still while the page is hidden, its sound with it.
let sound_was_running = false;
document.addEventListener('visibilitychange', () => {
    const context = sound.context();
    if (document.hidden) {
        sound_was_running = !!context && context.state === 'running';
        sound.suspend();
    } else if (sound_was_running) {
        sound.resume();
    }
});

// The first pad: the standard mapping's d-pad (buttons 12 to 15) and left
// stick, and its four face buttons, south, east, west and north, as the
// game's buttons 1 to 4. Read once a refresh.
function read_pad() {
    if (!playing()) return;
    const pad = navigator.getGamepads ? [...navigator.getGamepads()].find(p => p && p.connected) : null;
    if (!pad) {
        game.exports.web_pad(0, 0x8000, 0x8000, 0, 0);
        return;
    }
    const position = value => Math.max(0, Math.min(0xffff, Math.round(((value ?? 0) + 1) * 32767.5)));
    const pressed = index => !!pad.buttons[index] && pad.buttons[index].pressed;
    let buttons = 0, pushes = 0;
    for (let b = 0; b < 4; b++) if (pressed(b)) buttons |= 1 << b;
    if (pad.mapping === 'standard')
        for (let d = 0; d < 4; d++) if (pressed(12 + d)) pushes |= 1 << d; // up, down, left, right
    game.exports.web_pad(1, position(pad.axes[0]), position(pad.axes[1]), buttons, pushes);
}

// ---- Start -------------------------------------------------------------------------

async function main() {
    try {
        const loaded = await load();
        document.getElementById('loading').hidden = true;
        if (replay_url) {
            await replay(loaded);
        } else {
            document.getElementById('again').addEventListener('click', () => {
                stats.state = 'loading';
                play(loaded).catch(fail);
            });
            await play(loaded);
        }
    } catch (error) {
        fail(error);
    }
}

function fail(error) {
    stats.state = 'error';
    stats.error = String(error && error.stack || error);
    console.error(error);
    const loading = document.getElementById('loading');
    loading.hidden = false;
    loading.textContent = String(error);
}

main();
