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
        throw new PlaybackError(`${url}: ${error.message || error}`);
    }
    if (!response.ok) throw new PlaybackError(`${url}: HTTP ${response.status}`);
    const bytes = new Uint8Array(await response.arrayBuffer());
    if (bytes.length > MAX_RECORDING_BYTES) throw new PlaybackError(`${url}: ${bytes.length} bytes, too large for a recording`);
    return bytes;
}

// The game plays the recording from its start: true when it is English.
export function use_recording(game, bytes, url) {
    const at = game.exports.web_script_buffer(bytes.length); // before the memory is read: it may grow
    new Uint8Array(game.memory.buffer, at, bytes.length).set(bytes);
    if (!game.exports.web_use_playback()) throw new PlaybackError(`${url}: ${game.string(game.exports.web_script_error())}`);
    return game.exports.web_english() === 1;
}
