// ?playback=URL: a recording played on the page as a demo, at the game's own
// pace on the real clock, as the desktop's --playback plays one. The module
// reads the recording's seed and edition and plays its input to its end.

const MAX_RECORDING_BYTES = 64 << 20; // as large as the desktop reads
const FETCH_TIMEOUT_MS = 30000;

// Why a recording cannot be played; the page shows it in place of the game.
export class PlaybackError extends Error {}

export async function fetch_recording(url) {
    let response;
    try {
        response = await fetch(url, { signal: AbortSignal.timeout(FETCH_TIMEOUT_MS) });
    } catch (error) {
        // A browser tells a refusal of another origin's server from no answer at all to nobody.
        const elsewhere = new URL(url, location.href).origin !== location.origin && error instanceof TypeError;
        throw new PlaybackError(elsewhere ? `${url}: its server did not allow this page to read it (or did not answer)`
            : `${url}: ${error.message || error}`);
    }
    if (!response.ok) throw new PlaybackError(`${url}: HTTP ${response.status}`);
    return read_body(response, url);
}

const too_large = (url, bytes) =>
    new PlaybackError(`${url}: ${bytes} bytes or more, too large for a recording (at most ${MAX_RECORDING_BYTES})`);

// The body as it streams, refused once it passes the limit rather than
// after a huge one has all come.
async function read_body(response, url) {
    const said = Number(response.headers.get('Content-Length'));
    if (said > MAX_RECORDING_BYTES) {
        response.body?.cancel().catch(() => {});
        throw too_large(url, said);
    }
    const chunks = [];
    let length = 0;
    try {
        const reader = response.body.getReader();
        for (;;) {
            const { done, value } = await reader.read();
            if (done) break;
            length += value.length;
            if (length > MAX_RECORDING_BYTES) {
                reader.cancel().catch(() => {});
                throw too_large(url, length);
            }
            chunks.push(value);
        }
    } catch (error) {
        throw error instanceof PlaybackError ? error : new PlaybackError(`${url}: ${error.message || error}`);
    }
    const bytes = new Uint8Array(length);
    let at = 0;
    for (const chunk of chunks) {
        bytes.set(chunk, at);
        at += chunk.length;
    }
    return bytes;
}

// The game plays the recording from its start: true when it is English.
export function use_recording(game, bytes, url) {
    const at = game.exports.web_script_buffer(bytes.length); // before the memory is read: it may grow
    new Uint8Array(game.memory.buffer, at, bytes.length).set(bytes);
    if (!game.exports.web_use_playback()) throw new PlaybackError(`${url}: ${game.string(game.exports.web_script_error())}`);
    return game.exports.web_english() === 1;
}
