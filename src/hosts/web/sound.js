// Effects, voices and music through Web Audio. Each slot holds one clip as an
// AudioBuffer and plays it through a new AudioBufferSourceNode, cutting off
// what the slot was playing. The music is the build's recording of each
// piece, played `plays` times: a piece played once is recorded as the desktop
// plays it; a looping one as the first pass's opening (its "head") and then a
// pass that repeats seamlessly, which the first pass joins after the head.
//
// The context runs at 48 kHz, the recordings' rate, so that their loop points
// fall on whole samples. It is made off the way to the first picture: on the
// first gesture, or when the page calls wake(); clips and recordings are kept
// and decoded without it meanwhile. Browsers keep it suspended until the first
// key press or tap; `on_state` hears when that changes.

const MUSIC_RATE = 48000;

// Plays a recording (its points as in the manifest) `plays` times from `when`
// in `context`, into `output` (the context's destination unless given);
// returns the sources it started.
export function schedule_piece(context, buffer, info, plays, when, output = context.destination) {
    const source_of = () => {
        const source = context.createBufferSource();
        source.buffer = buffer;
        source.connect(output);
        return source;
    };
    const rate = info.rate; // the points are in the recording's samples, whatever the context's rate
    if (info.loop_end > info.loop_start) {
        // The head, then the repeating pass from the same point on, looping.
        const pass = info.loop_end - info.loop_start;
        const sources = [];
        if (info.head > 0) {
            const head = source_of();
            head.start(when, 0, info.head / rate);
            sources.push(head);
        }
        const passes = source_of();
        passes.loop = true;
        passes.loopStart = info.loop_start / rate;
        passes.loopEnd = info.loop_end / rate;
        passes.start(when + info.head / rate, (info.loop_start + info.head) / rate);
        passes.stop(when + plays * pass / rate);
        return [...sources, passes];
    }
    const once = source_of();
    once.start(when);
    if (plays > 1) { // not asked by the game: the piece again, without its ending
        once.loop = true;
        once.loopStart = 0;
        once.loopEnd = info.once_end / rate;
        once.stop(when + plays * info.once_end / rate);
    }
    return [once];
}

export function make_sound(stats, on_state) {
    let context = null;
    const clips = [], sources = [];
    let pieces = []; // from the manifest: { name, file, rate, once_end, head, loop_start, loop_end, bytes (a promise) }
    const decoded = new Map(); // piece number -> promise of an AudioBuffer
    let music = null; // { piece, plays, sources }
    // The player's volumes (the options): everything through the master gain,
    // the music and the effects (voices with them) each through their own.
    let gains = null; // { master, music, effects }
    let volumes = { master: 1, music: 1, effects: 1 };
    let decoder = null; // decodes the recordings until the context is made
    let hushed = false; // a recording watched off the game's pace is not heard

    function set_gains() {
        if (gains) for (const name of Object.keys(gains)) gains[name].gain.value = name === 'master' && hushed ? 0 : volumes[name];
    }

    function make_context() {
        if (context) return context;
        try {
            context = new AudioContext({ sampleRate: MUSIC_RATE, latencyHint: 'interactive' });
        } catch (error) {
            console.warn(`no Web Audio at 48 kHz (${error}); trying the device's rate`);
            context = new AudioContext();
        }
        const master = context.createGain();
        master.connect(context.destination);
        gains = { master, music: context.createGain(), effects: context.createGain() };
        gains.music.connect(master);
        gains.effects.connect(master);
        set_gains();
        context.onstatechange = () => on_state(context.state);
        on_state(context.state);
        // The piece asked for before there was a context starts now, from its start.
        const waiting = music;
        if (waiting && !waiting.sources.length)
            decode(waiting.piece).then(buffer => { if (music === waiting) start_piece(waiting, buffer); }, () => {});
        return context;
    }

    function stop_source(source) {
        if (!source) return;
        try {
            source.stop();
        } catch (error) {
            // never started: nothing to stop
        }
        source.disconnect();
    }

    // Each recording is decoded once and kept.
    function decode(piece) {
        if (!decoded.has(piece)) {
            const info = pieces[piece - 1];
            const buffer = info.bytes.then(bytes => {
                const began = performance.now();
                decoder ??= context ?? new OfflineAudioContext(1, 1, MUSIC_RATE);
                return decoder.decodeAudioData(bytes).then(done => {
                    stats.decode_ms[info.name] = Math.round(performance.now() - began);
                    return done;
                });
            });
            buffer.catch(error => console.warn(`${info.file}: ${error}`));
            decoded.set(piece, buffer);
        }
        return decoded.get(piece);
    }

    // The recording from its start, `plays` passes, then silence.
    function start_piece(playing, buffer) {
        if (playing.sources.length) return; // started already: the context and the decoding may both call
        const info = pieces[playing.piece - 1];
        playing.sources = schedule_piece(context, buffer, info, playing.plays, context.currentTime, gains.music);
        stats.music_started.push(info.name);
        stats.t_first_music ||= performance.now();
    }

    // The context made, if it can be.
    function wake() {
        if (context) return;
        try {
            make_context();
        } catch (error) {
            console.error(`no Web Audio: ${error}`);
        }
    }

    const host = {
        audio_open() {
            if (typeof AudioContext === 'function') return 1;
            console.error('no Web Audio');
            return 0;
        },
        audio_close() {
            for (let slot = 0; slot < sources.length; slot++) host.clip_unbind(slot);
        },
        // A clip in its own format: rate, 8-bit unsigned or 16-bit little-endian
        // signed samples, channels interleaved. 0 when no buffer can hold it.
        clip_bind(memory, slot, pointer, byte_count, rate, bits, channels) {
            host.clip_unbind(slot);
            const frame_bytes = bits / 8 * channels;
            const frames = Math.floor(byte_count / frame_bytes);
            let buffer;
            try {
                buffer = new AudioBuffer({ numberOfChannels: channels, length: frames, sampleRate: rate });
            } catch (error) {
                console.warn(`a clip at ${rate} Hz, ${channels} channels, ${frames} frames: ${error}`);
                return 0;
            }
            // Whole samples; a 16-bit clip at an odd place is read a byte at a time.
            const samples = bits === 8 ? new Uint8Array(memory.buffer, pointer, frames * channels)
                : pointer % 2 === 0 ? new Int16Array(memory.buffer, pointer, frames * channels)
                : Int16Array.from({ length: frames * channels }, (_, i) =>
                    new DataView(memory.buffer).getInt16(pointer + 2 * i, true));
            const [offset, scale] = bits === 8 ? [128, 1 / 128] : [0, 1 / 32768];
            for (let channel = 0; channel < channels; channel++) {
                const out = buffer.getChannelData(channel);
                for (let i = 0, at = channel; i < frames; i++, at += channels) out[i] = (samples[at] - offset) * scale;
            }
            clips[slot] = buffer;
            return 1;
        },
        clip_unbind(slot) {
            stop_source(sources[slot]);
            sources[slot] = null;
            clips[slot] = null;
        },
        clip_play(slot) {
            if (!clips[slot]) return;
            stop_source(sources[slot]);
            if (!context) { // nobody could hear it yet
                stats.frame_events?.push(['clip', slot]);
                return;
            }
            const source = context.createBufferSource();
            source.buffer = clips[slot];
            source.connect(gains.effects);
            source.start();
            sources[slot] = source;
            stats.sources_started++;
            stats.frame_events?.push(['clip', slot]);
        },

        music_open() {
            return typeof AudioContext === 'function' ? 1 : 0;
        },
        music_close() {
            host.music_stop();
        },
        // The piece whose MIDI file has this hash and size, or 0.
        music_find(hash, size) {
            const index = pieces.findIndex(piece => piece.hash === hash && piece.size === size);
            if (index < 0) {
                stats.music_refused++;
                return 0;
            }
            decode(index + 1);
            return index + 1;
        },
        // Starts as soon as the recording is decoded, from its start.
        music_play(piece, plays) {
            host.music_stop();
            const playing = { piece, plays, sources: [] };
            music = playing;
            stats.frame_events?.push(['music', pieces[piece - 1].name, plays]);
            decode(piece).then(buffer => {
                if (music === playing && context) start_piece(playing, buffer);
            }, () => {});
        },
        music_stop() {
            if (music) music.sources.forEach(stop_source);
            music = null;
            stats.frame_events?.push(['music_stop']);
        },
    };

    return {
        host,
        context: () => context,
        // The recordings the build made, fetched when first asked for or when
        // fetch_all is called, decoded when asked for.
        set_pieces(list) {
            pieces = list.map(piece => {
                let bytes = null;
                const fetched = () => bytes ??= fetch(piece.file, { priority: 'low' }).then(response => {
                    if (!response.ok) throw new Error(`HTTP ${response.status}`);
                    return response.arrayBuffer();
                });
                return { ...piece, get bytes() { return fetched(); } };
            });
        },
        // Every recording fetched and decoded, one after another, so that
        // none need wait when it is asked for.
        async fetch_all() {
            await Promise.allSettled(decoded.values()); // what the game has asked for first
            for (let piece = 1; piece <= pieces.length; piece++) await decode(piece).catch(() => {});
        },
        // The first key press or click lets the sound start. Asked whatever
        // the state, as a suspension may still be on its way.
        resume() {
            wake();
            return context && context.state !== 'closed' ? context.resume() : undefined;
        },
        wake,
        suspend() {
            if (context && context.state !== 'closed') context.suspend();
        },
        hush(on) {
            if (hushed === on) return;
            hushed = on;
            set_gains();
        },
        // Each 0 to 1: master (0 when muted), music, effects.
        set_volumes(master, music, effects) {
            volumes = { master, music, effects };
            set_gains();
        },
        // For the tests: the gains' values now.
        gain_values: () => gains ? Object.fromEntries(Object.entries(gains).map(([k, g]) => [k, g.gain.value])) : null,
        // For the tests: a recording decoded, and its length in samples.
        async decoded_length(piece) {
            const buffer = await decode(piece);
            return { length: buffer.length, rate: buffer.sampleRate };
        },
    };
}
