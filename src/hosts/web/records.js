// The player's records on the page: the module keeps them (the desktop's
// rules and text), the page keeps what it says in the browser's storage. The
// records text in localStorage ("kuzari.records"), each edition's best round's
// recording in IndexedDB (database "kuzari", store "rounds", keys "best-ja"
// and "best-en"), a recording written in one transaction, whole or not at
// all, before the records that name it. A damaged records text is set aside
// as "kuzari.records.damaged" (-2, -3, ... when taken) and the player told.

const RECORDS_KEY = 'kuzari.records';
const DATABASE = 'kuzari', STORE = 'rounds';
const TAKEN_RECORDS = 1, TAKEN_BEST_ROUND = 2;

function open_database() {
    return new Promise((resolve, reject) => {
        const request = indexedDB.open(DATABASE, 1);
        request.onupgradeneeded = () => request.result.createObjectStore(STORE);
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
    });
}

// One request in a transaction of its own, resolved once the transaction is done.
async function in_store(mode, act) {
    const database = await open_database();
    try {
        return await new Promise((resolve, reject) => {
            const transaction = database.transaction(STORE, mode);
            const request = act(transaction.objectStore(STORE));
            transaction.oncomplete = () => resolve(request.result);
            transaction.onerror = transaction.onabort = () => reject(transaction.error || request.error);
        });
    } finally {
        database.close();
    }
}

// The edition's ('ja' or 'en') best round's recording, or null.
export async function read_best_round(edition) {
    const text = await in_store('readonly', store => store.get(`best-${edition}`));
    return typeof text === 'string' ? text : null;
}

function set_aside(text) {
    let key = `${RECORDS_KEY}.damaged`;
    for (let n = 2; localStorage.getItem(key) !== null && n < 1000; ++n) key = `${RECORDS_KEY}.damaged-${n}`;
    localStorage.setItem(key, text);
    localStorage.removeItem(RECORDS_KEY);
    return key;
}

// page: { texts() (the page's words now), tell(text) (a line for the
// player), count_scripts (test mode's script counts as live play) }.
export function make_records(page) {
    let game = null;
    let best = { ja: null, en: null }; // the best rounds kept, once read
    let writing = Promise.resolve();   // each change kept after the one before
    let latest = null;                 // the records text last taken, which the next game begins from
    const said = new Set();            // what the player was told, once a visit

    function tell(text) {
        console.warn(text);
        if (said.has(text)) return;
        said.add(text);
        page.tell?.(text);
    }

    function write_text(text) {
        const bytes = new TextEncoder().encode(text);
        const at = game.exports.web_text_buffer(bytes.length); // before the memory is read: it may grow
        new Uint8Array(game.memory.buffer, at, bytes.length).set(bytes);
    }

    function tell_module() {
        game?.exports.web_records_best_kept(best.ja ? 1 : 0, best.en ? 1 : 0);
    }

    // The best rounds, read once a visit; the menu offers one once it is known.
    const best_read = Promise.all(['ja', 'en'].map(edition => read_best_round(edition).then(
        text => { best[edition] = text; },
        error => console.warn(`the best ${edition} round cannot be read: ${error}`))))
        .then(tell_module);

    function keep(taken, records_text, edition, round) {
        if (taken & TAKEN_RECORDS) latest = records_text; // "play again" before it is written loses nothing
        writing = writing.then(async () => {
            if (taken & TAKEN_BEST_ROUND) {
                try {
                    await in_store('readwrite', store => store.put(round, `best-${edition}`));
                    best[edition] = round;
                    tell_module();
                } catch (error) {
                    tell(`${page.texts().best_not_kept} (${error})`);
                }
            }
            if (!(taken & TAKEN_RECORDS)) return;
            try {
                localStorage.setItem(RECORDS_KEY, records_text);
            } catch (error) {
                tell(`${page.texts().records_not_kept} (${error})`);
            }
        });
    }

    return {
        // A new game, before it starts: the kept records go to its module.
        start(new_game) {
            game = new_game;
            if (page.count_scripts) game.exports.web_records_count_scripts();
            let text = latest;
            try {
                text ??= localStorage.getItem(RECORDS_KEY);
            } catch (error) {
                tell(`${page.texts().records_not_kept} (${error})`);
                return;
            }
            if (text !== null) write_text(text);
            if (game.exports.web_records_begin(text === null ? 0 : 1)) {
                tell_module();
                return;
            }
            const reason = game.string(game.exports.web_records_error());
            try {
                const aside = set_aside(text);
                tell(`${page.texts().records_damaged} ${aside} (${reason})`);
            } catch (error) {
                game.exports.web_records_stop();
                tell(`${page.texts().records_not_kept} (${reason}; ${error})`);
            }
            tell_module();
        },
        // Once a refresh, and before the game shuts down: what changed is kept.
        take() {
            if (!game?.started) return;
            const taken = game.exports.web_records_take();
            if (!taken) return;
            const text = game.string(game.exports.web_records_text());
            const edition = game.string(game.exports.web_best_round_edition());
            const round = taken & TAKEN_BEST_ROUND ? game.string(game.exports.web_best_round()) : null;
            keep(taken, text, edition, round);
        },
        // The edition's best round once read, or null.
        best_round: async edition => {
            await best_read;
            return best[edition];
        },
        // Resolves once everything changed so far is kept (for the tests).
        kept: () => writing,
    };
}
