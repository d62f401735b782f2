// Test mode, loaded only when the page's parameters ask for it. replay=URL
// plays a kuzari-replay script frame by frame on a fixed clock, as
// kuzari-replay does; record=1 keeps a recording of live play's input that
// kuzari-replay plays to the same pictures. Either way every frame's picture
// hash and what it asked of the sound and music are kept for the tests.

export function make_test_mode(figures, sound) {
    Object.assign(figures, {
        hashes: [],              // every frame's picture hash, frame 0 first
        events: [],              // per frame: what it asked of the sound and music
        frame_events: [],        // the frame under way's, filled by sound.js
        script_error: null,
        replay_ms: 0,            // how long the script took to play
        recording: () => '',
        decoded_length: piece => sound.decoded_length(piece), // a recording's samples and rate
    });
    return {
        frame_finished(hash) {
            figures.hashes.push(hash);
            figures.events.push(figures.frame_events);
            figures.frame_events = [];
        },
        // Live play traced and recorded from its start, frame 0 first.
        before_start(game) {
            game.exports.web_trace();
            figures.hashes = [];
            figures.events = [];
            figures.recording = () => game.string(game.exports.web_recording());
        },
        after_start(game) {
            game.exports.web_report_frame0();
        },
    };
}

// Plays the script at `url` to its end. Its boxes are only noted, as
// kuzari-replay notes them.
export async function replay(url, new_game, figures, draw) {
    const text = await (await fetch(url)).text();
    const game = await new_game(() => {});
    const bytes = new TextEncoder().encode(text);
    const at = game.exports.web_script_buffer(bytes.length); // before the memory is read: it may grow
    new Uint8Array(game.memory.buffer, at, bytes.length).set(bytes);
    if (!game.exports.web_use_script()) {
        figures.script_error = game.string(game.exports.web_script_error());
        throw new Error(figures.script_error);
    }
    figures.state = 'running';
    const began = performance.now();
    game.started = game.running = game.exports.web_start(0) === 1;
    game.exports.web_report_frame0();
    // In slices, so that the page stays responsive and the driver can look in.
    await new Promise((done, failed) => {
        const slice = () => {
            const until = performance.now() + 50;
            while (game.running && performance.now() < until) game.running = game.exports.web_step(0) !== 0;
            draw(game);
            if (game.running) setTimeout(() => { try { slice(); } catch (error) { failed(error); } }, 0);
            else done();
        };
        slice();
    });
    if (game.started) game.exports.web_finish();
    figures.replay_ms = performance.now() - began;
    figures.state = 'over';
}
