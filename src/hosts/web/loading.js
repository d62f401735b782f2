// The game loaded and made: the module compiled as it downloads, the data
// files fetched into a file system in memory (wasi_shim.js), and each game an
// instance whose imports reach the page's screen, sound and dialog. What the
// title needs comes first; the rest once its first picture is up, and a step
// that opens a file still on its way waits for it (holding.js).
import { make_wasi, complete_imports, path_at } from './wasi_shim.js';
import { make_holding } from './holding.js';

// The rest in the order the game is likely to want it: a round's sheet
// before the voices; a file the game asks for goes ahead of the queue.
const REST_ORDER = [/bitmap\/main\.bmp$/, /^voice\//, /bitmap\//];
const FETCHES_AT_ONCE = 4;

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

// The module comes gzipped (a third of its size, and not every server
// compresses on the fly): inflated as it downloads, compiled as it inflates.
async function compile(url) {
    const response = await fetch(url);
    if (!response.ok) throw new Error(`${url}: HTTP ${response.status}`);
    const inflated = new Response(response.body.pipeThrough(new DecompressionStream('gzip')),
        { headers: { 'Content-Type': 'application/wasm' } });
    if (typeof WebAssembly.compileStreaming !== 'function') // older browsers: whole, then compiled
        return WebAssembly.compile(await inflated.arrayBuffer());
    return WebAssembly.compileStreaming(inflated);
}

// The data files as they come. `files`: those here, by path; arrival(path):
// a promise of the file when it is the site's and still on its way (its
// fetch started now if it had not been), else null.
function make_store(paths) {
    const files = new Map(), coming = new Map(), settled = new Set();
    const known = new Set(paths);
    function fetch_one(path) {
        if (!coming.has(path)) {
            coming.set(path, fetch_data_file(path).then(bytes => {
                if (bytes) files.set(path, bytes);
                settled.add(path);
            }));
        }
        return coming.get(path);
    }
    const rank = path => {
        const index = REST_ORDER.findIndex(pattern => pattern.test(path));
        return index < 0 ? REST_ORDER.length : index;
    };
    return {
        files,
        arrival: path => (known.has(path) && !settled.has(path) ? fetch_one(path) : null),
        // What start-up and the title read (the manifest's "first"; the page
        // preloads them too).
        first: first => Promise.all(first.map(fetch_one)),
        // Every file, a few at a time.
        rest() {
            const queue = paths.filter(path => !coming.has(path)).sort((a, b) => rank(a) - rank(b));
            const worker = async () => {
                while (queue.length) await fetch_one(queue.shift());
            };
            return Promise.all(Array.from({ length: FETCHES_AT_ONCE }, worker))
                .then(() => Promise.all(coming.values()));
        },
    };
}

// The module and what the title needs of the data; the sound learns of the
// recordings. The rest of the data: `loaded.files.rest()`.
export async function load(sound) {
    const manifest = fetch('manifest.json').then(response => response.json());
    const module = compile('kuzari.wasm.gz');
    const { data, first, music } = await manifest;
    sound.set_pieces(music);
    const files = make_store(data);
    await files.first(first);
    return { module: await module, files };
}

const hex = (high, low) => (high >>> 0).toString(16).padStart(8, '0') + (low >>> 0).toString(16).padStart(8, '0');

function host_imports(page, memory, string) {
    const { screen, figures } = page;
    const sound = page.sound.host;
    return {
        present: (pointer, pitch) => screen.present(pointer, pitch),
        open_display: (width, height) => (screen.open(width, height) ? 1 : 0),
        // The last picture presented is drawn before the display goes: a
        // game that ends in the middle of a refresh's steps still shows it.
        close_display: () => {
            screen.draw(memory());
            screen.close();
        },
        message_box: (text, caption, error_icon) => {
            figures.boxes.push([string(caption), string(text)]);
            page.show_box(string(text), string(caption), error_icon);
        },
        calendar_seconds: () => page.seed ?? (Math.floor(Date.now() / 1000) >>> 0),
        audio_open: () => sound.audio_open(),
        audio_close: () => sound.audio_close(),
        clip_bind: (slot, pointer, bytes, rate, bits, channels) =>
            sound.clip_bind(memory(), slot, pointer, bytes >>> 0, rate >>> 0, bits, channels),
        clip_unbind: slot => sound.clip_unbind(slot),
        clip_play: slot => sound.clip_play(slot),
        music_open: () => sound.music_open(),
        music_close: () => sound.music_close(),
        music_find: (high, low, size) => sound.music_find(hex(high, low), size >>> 0),
        music_play: (piece, plays) => sound.music_play(piece, plays),
        music_stop: () => sound.music_stop(),
        frame_finished: (_presented, high, low) => page.frame_finished?.(hex(high, low)),
    };
}

// A game made afresh from what was loaded, its constructors run and its
// language set. `page`: { screen, sound, figures, english, seed (or null),
// show_box(text, caption, error_icon), frame_finished(hash) (test mode) }.
export async function make_game(loaded, page) {
    let memory = null;
    const string = pointer => {
        const bytes = new Uint8Array(memory.buffer, pointer);
        return new TextDecoder().decode(bytes.subarray(0, bytes.indexOf(0)));
    };
    let exports = null;
    const holding = make_holding(loaded.files, () => memory, () => exports);
    const path_of = (pointer, length) => path_at(memory, pointer, length);
    const wasi = complete_imports(loaded.module, holding.wrap(make_wasi(loaded.files.files, () => memory), path_of));
    const instance = await WebAssembly.instantiate(loaded.module,
        { host: host_imports(page, () => memory, string), wasi_snapshot_preview1: wasi });
    exports = instance.exports;
    memory = exports.memory;
    exports._initialize();
    exports.web_set_language(page.english ? 1 : 0);
    return { exports, memory, string, holding, box_open: false, over: false, running: false, started: false };
}
