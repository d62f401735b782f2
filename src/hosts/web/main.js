// Kuzari in the browser: loads the game (WebAssembly) and its data, then plays
// it live with the keyboard, the first gamepad, Web Audio and the page's own
// dialog; or, when the parameters ask for test mode, plays or records for the
// tests.
import { read_parameters } from './parameters.js';
import { page_texts } from './texts.js';
import { make_figures } from './figures.js';
import { make_screen } from './screen.js';
import { make_sound } from './sound.js';
import { make_sound_notice } from './sound_notice.js';
import { make_turn_hint } from './turn_hint.js';
import { make_page_note } from './page_note.js';
import { load, make_game } from './loading.js';
import { make_input } from './input.js';
import { make_touch } from './touch.js';
import { make_title_taps } from './title_taps.js';
import { make_hint_words } from './hint_words.js';
import { play_live } from './live.js';
import { recording_link, game_recording } from './recording_link.js';
import { make_fullscreen_button } from './fullscreen.js';
import { make_back_button } from './back_button.js';
import { PlaybackError, fetch_recording, use_recording } from './playback.js';
import { read_kept_options, kept_language, make_options } from './options.js';
import { make_viewer } from './viewer.js';
import { make_records } from './records.js';

performance.mark('kuzari-script'); // the phone benchmark's milestones, as User Timing marks
const parameters = read_parameters();
// Test mode's module only when asked for, before window.kuzari is set up.
const test_mode = parameters.replay_url || parameters.recording ? await import('./test_mode.js') : null;
// The options the last load kept, for live play; a test's replay goes without.
const kept = parameters.replay_url ? {} : read_kept_options();
if (!parameters.language_asked && kept_language(kept)) parameters.english = kept_language(kept) === 'en';
let texts = null;
// The page's words in the game's language (a recording played back names its own).
function use_language(english) {
    texts = page_texts(english);
    document.documentElement.lang = english ? 'en' : 'ja';
    document.getElementById('over-text').textContent = texts.over;
    document.getElementById('again').textContent = texts.again;
    document.getElementById('save-recording')?.replaceChildren(texts.save);
    document.getElementById('save-best')?.replaceChildren(texts.save_best);
    label_fullscreen?.();
    label_turn_hint?.();
    options?.relabel();
    viewer?.relabel();
}
let options = null;
let viewer = null;
let label_fullscreen = null;
let label_turn_hint = null;
use_language(parameters.english);
label_fullscreen = make_fullscreen_button(document.getElementById('fullscreen'), () => texts);

const figures = make_figures(parameters.english);
const screen = make_screen(document.getElementById('screen'));
label_turn_hint = make_turn_hint(document.getElementById('screen'), () => texts);
const sound_notice = make_sound_notice(document.getElementById('sound-notice'), () => texts);
const sound = make_sound(figures, state => {
    sound_notice(state === 'suspended' && !options?.held()); // the options hold it, not the browser
});
figures.audio_state = () => sound.context()?.state ?? 'none';
figures.gains = () => sound.gain_values(); // master, music, effects: the options' volumes
const input = make_input(sound);
make_touch(input, document.getElementById('screen'));
const title_taps = make_title_taps(input, document.getElementById('screen'));
const hint_words = make_hint_words(document.getElementById('screen'), input.device);
const tell = make_page_note();
// A test's replay keeps no records unless it stands for live play.
const records = parameters.replay_url && !parameters.records_from_script ? null
    : make_records({ texts: () => texts, tell, count_scripts: parameters.records_from_script });
if (records) figures.records_kept = () => records.kept();
// "Watch the best round": the page again, watching it in the viewer.
const watch_best_round = edition => location.assign(`?${new URLSearchParams({ best: edition })}`);
options = parameters.replay_url ? null : make_options({
    screen: document.getElementById('screen'), sound, input, texts: () => texts, kept, tell, watch_best_round });
if (options) make_back_button(options);
const tests = test_mode?.make_test_mode(figures, sound);
if (test_mode) sound.wake(); // the tests hear every frame's sound from the first
const watched = parameters.playback_url ?? (parameters.best_round && `best-${parameters.best_round}`);
viewer = watched ? make_viewer(document.getElementById('screen'), sound, () => texts) : null;
if (viewer) Object.assign(figures, { viewer_frame: viewer.frame, viewer_state: viewer.state });

function draw(game) {
    records?.take();
    viewer?.draw();
    if (!screen.draw(game.memory)) return;
    if (figures.frames_drawn++ > 0) return;
    figures.t_first_frame = performance.now();
    setTimeout(sound.wake); // the sound once the title is up: making its context takes long on a phone
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
    const recording = game_recording(game);
    if (recording) loading.append(document.createElement('br'), recording_link('crash-recording', 'crash-', recording, texts.save));
}

// A game that has ended (Escape, or the end of a round's play) offers its
// recording beside "play again", for a bug report, and the best round of its
// edition when the browser keeps one.
function offer_recording(game) {
    const recording = game_recording(game);
    if (recording) document.getElementById('again').before(recording_link('save-recording', '', recording, texts.save));
    else document.getElementById('save-recording')?.remove();
    if (!records || !game.started) return;
    records.take();
    const edition = game.exports.web_english() === 1 ? 'en' : 'ja';
    records.kept().then(() => records.best_round(edition)).then(best => {
        if (best && !document.getElementById('over').hidden)
            document.getElementById('again').before(recording_link('save-best', `best-${edition}-`, best, texts.save_best));
        else document.getElementById('save-best')?.remove();
    });
}

// The best round kept in the browser, as a recording's bytes.
async function kept_best_round(edition) {
    const text = await records.best_round(edition);
    if (!text) throw new PlaybackError(`${watched}: ${texts.no_best}`);
    return new TextEncoder().encode(text);
}

// A recording that cannot be played says why, in place of the game.
function refuse_playback(error) {
    figures.state = 'error';
    figures.error = error.message;
    const loading = document.getElementById('loading');
    loading.hidden = false;
    loading.textContent = `${texts.no_playback} ${error.message}`;
}

// The recording to play first, once: "play again" is a game of one's own.
function playback(bytes) {
    return game => {
        if (!bytes) return;
        const english = use_recording(game, bytes, watched);
        bytes = null;
        if (english !== figures.english) use_language(figures.english = english);
    };
}

// Once everything has come, the service worker keeps the site for play with
// no connection (its copies mostly from the browser's cache by then). Test
// mode goes without: the tests load copies of the site that change under them.
let site_kept = false;
function keep_site() {
    if (site_kept || test_mode || !('serviceWorker' in navigator)) return;
    site_kept = true;
    navigator.serviceWorker.register('service_worker.js')
        .catch(error => console.warn(`the site is not kept for offline play: ${error}`));
}

async function main() {
    try {
        const recorded = parameters.playback_url ? fetch_recording(parameters.playback_url)
            : parameters.best_round ? kept_best_round(parameters.best_round) : null;
        recorded?.catch(() => {}); // its refusal is shown once the game has loaded
        const loaded = await load(sound);
        performance.mark('kuzari-loaded');
        const prepare = recorded ? playback(await recorded) : null;
        document.getElementById('loading').hidden = true;
        const new_game = async show_box => {
            const game = await make_game(loaded, {
                screen, sound, figures, english: figures.english, seed: parameters.seed, show_box,
                frame_finished: tests?.frame_finished,
            });
            options?.start(game);
            records?.start(game);
            title_taps.start(game);
            hint_words.start(game);
            performance.mark('kuzari-game-made');
            viewer?.start(game);
            return game;
        };
        if (parameters.replay_url) {
            await loaded.files.rest(); // a replay runs on a clock of its own: every file first
            await test_mode.replay(parameters.replay_url, new_game, figures, draw);
        } else {
            await play_live({ new_game, figures, sound, input, draw, fail, prepare, offer_recording,
                recorder: parameters.recording ? tests : null,
                held: () => !!options?.held() || !!viewer?.held(), started: options?.run,
                fetch_rest: () => loaded.files.rest(), fetched: keep_site });
        }
    } catch (error) {
        if (error instanceof PlaybackError) refuse_playback(error);
        else fail(error);
    }
}

main();
