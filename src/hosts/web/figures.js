// What the tests and the curious read back in window.kuzari: where the game
// stands, and figures of its pace, its pictures and its sound. Test mode adds
// its own (test_mode.js).
export function make_figures(english) {
    return window.kuzari = {
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
        scene: () => 0,          // the scene on top: 0 the title, 1 a round
        held: () => false,       // whether a step waits for a data file still on its way
        holds: () => 0,          // steps that have waited so
        audio_state: () => 'none', // the sound's AudioContext's state
        gains: () => null,       // the volumes' gain nodes' values: { master, music, effects }
    };
}
