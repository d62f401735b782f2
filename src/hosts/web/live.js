// Live play: the game stepped from the display's refresh to the real time at
// its own pace, standing still while its box is open, the page is hidden or a
// step waits for a data file; the page's dialog for its boxes, and "play
// again" once it is over.
import { HELD } from './holding.js';

const FIRST_CLOCK_MS = 1000; // the game clock at start-up: the first frame runs at once
const STAND_STILL_MS = 100;  // further behind than this (a box, a hidden tab), the game stands still
const STEP_BUDGET_MS = 12;   // the most a refresh steps the game for

// page: { new_game(show_box), figures, sound, input, draw(game), fail(error, game),
// prepare(game) (before the game starts, or null), offer_recording(game) (once
// it is over), recorder (test mode's, or null), held() (the options menu is
// open, or the page is out of the player's sight: the game stands still, or
// null), started() (once each game is under way, or null), fetch_rest() (the
// data the title did not need), fetched() (called once the data and the music
// are all here) }. Resolves once the first game is under way.
export function play_live(page) {
    const { figures, sound, input } = page;
    const box = document.getElementById('box');
    const over = document.getElementById('over');
    let game = null;
    // The game's clock, when its next frame is due (ms) and the real time the
    // clock counts from.
    let clock = 0, due = 0, origin = 0;
    let stood_still = false; // the page was hidden: go on from where the game stood

    function show_box(text, caption, error_icon) {
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

    // Steps the game up to the real time: at each step's end the game says when
    // its next frame is due (17 ms after the last one began), and the clock moves
    // there once the real time has passed it. Frames thus fall 17 ms apart on the
    // game's clock, 58.8 a second, whatever the display's refresh rate.
    function advance(now) {
        let real = now - origin;
        if (stood_still || real - due > STAND_STILL_MS) { // stood still: carry on from here, without catching up
            stood_still = false;
            origin += real - due;
            real = due;
        }
        let frames = 0;
        // Unpaced, a frame is always due: the page still draws every refresh.
        const until = performance.now() + STEP_BUDGET_MS;
        while (game.running && !game.box_open && performance.now() < until) {
            const result = game.holding.call('web_step', clock);
            if (result === HELD) break; // the same step again once its file is here
            if (result === 0) {
                game.running = false;
                game.over = true;
                break;
            }
            if (result === 2) {
                const next = game.exports.web_due() >>> 0;
                if (next !== due) frames++;
                due = next;
                if (due > real) break;
                clock = due;
            }
        }
        return frames;
    }

    function refresh(now) {
        if (!game || game.over && !game.box_open || figures.state === 'error') return;
        try {
            const began = performance.now();
            input.read_pad();
            const held = document.hidden || !!page.held?.();
            if (held) stood_still = true;
            const frames = held ? 0 : advance(now);
            const drawing = performance.now();
            page.draw(game);
            if (frames) {
                const end = performance.now();
                figures.refreshes.push([end - began, frames, end - drawing, now]);
                if (figures.refreshes.length > 2000) figures.refreshes.shift();
            }
        } catch (error) {
            page.fail(error, game);
            return;
        }
        if (game.over && !game.box_open) finish();
        else requestAnimationFrame(refresh);
    }

    function finish() {
        if (figures.state === 'over') return;
        page.offer_recording?.(game); // before the shutdown
        if (game.started) game.exports.web_finish(); // a start that failed has taken itself down
        figures.state = 'over';
        document.body.classList.remove('playing');
        over.hidden = false;
        document.getElementById('again').focus();
    }

    async function play() {
        game = await page.new_game(show_box);
        page.prepare?.(game);
        figures.state = 'running';
        over.hidden = true;
        document.body.classList.add('playing');
        figures.scene = () => game.exports.web_top_scene();
        figures.held = () => game.holding.held();
        figures.holds = () => game.holding.holds();
        const now = performance.now();
        clock = due = FIRST_CLOCK_MS;
        origin = now - FIRST_CLOCK_MS;
        input.start(game);
        page.recorder?.before_start(game);
        game.started = game.running = await game.holding.call_through('web_start', clock) === 1;
        page.recorder?.after_start(game);
        game.over = !game.running;
        refresh(now); // the first frame now, not at the next refresh
        page.started?.();
        // The rest of the data once the game is under way, then the music.
        setTimeout(() => page.fetch_rest().then(() => sound.fetch_all()).then(page.fetched), 0);
    }

    document.getElementById('again').addEventListener('click', () => {
        figures.state = 'loading';
        play().catch(error => page.fail(error, game));
    });

    // An error no step caught (an event handler's, say) stops the game too.
    addEventListener('error', event => {
        if (game && !game.over) page.fail(event.error || event.message, game);
    });
    addEventListener('unhandledrejection', event => {
        if (game && !game.over) page.fail(event.reason, game);
    });

    // The game stands still while the page is hidden (no refreshes, and none
    // would step it), its sound with it. Suspending and resuming take effect
    // in the order asked, so the sound is held until it runs again in sight:
    // a page hidden and shown in quick turns keeps it.
    let sound_held = false;
    document.addEventListener('visibilitychange', () => {
        if (document.hidden) stood_still = true;
        const context = sound.context();
        if (!context) return;
        if (document.hidden) {
            sound_held ||= context.state === 'running';
            sound.suspend();
        } else if (sound_held) {
            sound.resume()?.then(() => { if (!document.hidden) sound_held = false; }, () => {});
        }
    });

    return play();
}
