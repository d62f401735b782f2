// Kuzari in the browser: loads the game (WebAssembly) and its data, then plays
// it live with the keyboard, the first gamepad, Web Audio and the page's own
// dialog; or, when the parameters ask for test mode, plays or records for the
// tests.
import { read_parameters } from './parameters.js';
import { page_texts } from './texts.js';
import { make_figures } from './figures.js';
import { make_screen } from './screen.js';
import { make_sound } from './sound.js';
import { load, make_game } from './loading.js';
import { make_input } from './input.js';
import { play_live } from './live.js';

const parameters = read_parameters();
// Test mode's module only when asked for, before window.kuzari is set up.
const test_mode = parameters.replay_url || parameters.recording ? await import('./test_mode.js') : null;
const texts = page_texts(parameters.english);
document.documentElement.lang = parameters.english ? 'en' : 'ja';
document.getElementById('over-text').textContent = texts.over;
document.getElementById('again').textContent = texts.again;

const figures = make_figures(parameters.english);
const screen = make_screen(document.getElementById('screen'));
const sound_notice = document.getElementById('sound-notice');
const sound = make_sound(figures, state => {
    sound_notice.textContent = texts.sound;
    sound_notice.hidden = state !== 'suspended';
});
figures.audio_state = () => sound.context()?.state ?? 'none';
const input = make_input(sound);
const tests = test_mode?.make_test_mode(figures, sound);

function draw(game) {
    if (!screen.draw(game.memory)) return;
    if (figures.frames_drawn++ === 0) figures.t_first_frame = performance.now();
}

// An error stops the page and is shown; when a game was under way, the
// page offers its recording (the desktop's format) for a bug report.
function fail(error, game) {
    if (figures.state === 'error') return;
    figures.state = 'error';
    figures.error = String(error && error.stack || error);
    console.error(error);
    const loading = document.getElementById('loading');
    loading.hidden = false;
    loading.textContent = `${texts.crashed} ${error}`;
    let recording = null;
    try {
        recording = game?.started ? game.string(game.exports.web_recording()) : null;
    } catch (_) { /* the game's memory is past reading: the error alone */ }
    if (!recording) return;
    const link = document.createElement('a');
    link.id = 'crash-recording';
    link.href = URL.createObjectURL(new Blob([recording], { type: 'text/plain' }));
    link.download = `kuzari-crash-${new Date().toISOString().replace(/[:.]/g, '-')}.txt`;
    link.textContent = texts.save;
    loading.append(document.createElement('br'), link);
}

// Once everything has come, the service worker keeps the site for play with
// no connection (its copies mostly from the browser's cache by then). Test
// mode goes without: the tests load copies of the site that change under them.
let kept = false;
function keep_site() {
    if (kept || test_mode || !('serviceWorker' in navigator)) return;
    kept = true;
    navigator.serviceWorker.register('service_worker.js')
        .catch(error => console.warn(`the site is not kept for offline play: ${error}`));
}

async function main() {
    try {
        const loaded = await load(sound);
        document.getElementById('loading').hidden = true;
        const new_game = show_box => make_game(loaded, {
            screen, sound, figures, english: parameters.english, seed: parameters.seed, show_box,
            frame_finished: tests?.frame_finished,
        });
        if (parameters.replay_url) {
            await loaded.files.rest(); // a replay runs on a clock of its own: every file first
            await test_mode.replay(parameters.replay_url, new_game, figures, draw);
        } else {
            const recorder = parameters.recording ? tests : null;
            await play_live({ new_game, figures, sound, input, draw, fail, recorder,
                              fetch_rest: () => loaded.files.rest(), fetched: keep_site });
        }
    } catch (error) {
        fail(error);
    }
}

main();
