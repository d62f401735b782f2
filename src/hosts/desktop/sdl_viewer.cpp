// Watching a playback in the real game: the keys and pad buttons that pause,
// step, change the speed and seek, the clock the game is given at that speed,
// which frames are shown, and the band over the picture that says where the
// playback is. Live input never reaches the game while a script plays, so
// these keys are free then; without --playback nothing here acts.
#include <cstdio>

#include "hosts/desktop/sdl_options.h"
#include "hosts/desktop/sdl_platform.h"
#include "hosts/shared/input_feed.h"
#include "hosts/shared/playback_band.h"
#include "hosts/shared/playback_control.h"

namespace {

PlaybackControl viewer;
bool watching = false;
bool english_band = false;
OverlayImage band;
bool band_stale = true;
double last_shown_ms = -1000;  // when an unpaced playback last presented a frame
double band_until_ms = 0;      // after a key the band stays this long, even at the game's pace

constexpr double unpaced_present_ms = 16;  // unpaced, a picture at most this often
constexpr double band_linger_ms = 3000;

struct ViewerKey {
    SDL_Keycode key;
    PlaybackAction action;
};
const ViewerKey viewer_keys[] = {
    {SDLK_SPACE, playback_pause},      {SDLK_p, playback_pause},      {SDLK_PERIOD, playback_step},
    {SDLK_MINUS, playback_slower},     {SDLK_KP_MINUS, playback_slower}, {SDLK_PLUS, playback_faster},
    {SDLK_EQUALS, playback_faster},    {SDLK_KP_PLUS, playback_faster},  {SDLK_HOME, playback_to_start},
    {SDLK_LEFT, playback_back},        {SDLK_RIGHT, playback_forward},
};

uint64_t frames_run() { return input_feed.script.frames_run; }

// Where a pause, a step or a seek left the playback, for whoever looks for
// the frame where something happened (kuzari-replay --shot shows it again).
void say_where(uint64_t frame) {
    std::fprintf(stderr, "kuzari: playback %s at frame %llu\n", viewer.paused ? "paused" : "goes on",
                 static_cast<unsigned long long>(frame));
}

void act(PlaybackAction action) {
    const bool was_hushed = playback_hushed(viewer);
    playback_act(&viewer, action, frames_run(), input_feed.script.frames);
    if (viewer.restart_pending && !sdl_recording_can_restart()) {
        std::fprintf(stderr, "kuzari: the recording goes to a stream, which cannot be taken back: "
                             "no seeking back while recording to it\n");
        viewer.restart_pending = viewer.seeking = false;
    }
    band_stale = true;
    band_until_ms = sdl_precise_ms() + band_linger_ms;
    if (action == playback_pause && viewer.paused) say_where(frames_run());
    if (was_hushed != playback_hushed(viewer)) sdl_apply_volumes();
    sdl_follow_pause();
    sdl_present_again();
}

}  // namespace

void sdl_start_viewer(bool english) {
    watching = input_feed.playing;
    english_band = english;
    // The command line has refused a --speed without a playback, or one it cannot read.
    if (watching && !host_options.playback_speed.empty())
        parse_playback_speed(host_options.playback_speed, &viewer.speed);
}

bool sdl_viewer_event(const SDL_Event& event) {
    if (!watching) return false;
    if (event.type == SDL_KEYDOWN) {
        for (const ViewerKey& key : viewer_keys)
            if (event.key.keysym.sym == key.key) {
                if (!event.key.repeat || key.action == playback_step) act(key.action);
                return true;
            }
    } else if (event.type == SDL_CONTROLLERBUTTONDOWN) {
        const int action = playback_button_action(
            SDL_GameControllerGetStringForButton(SDL_GameControllerButton(event.cbutton.button)));
        if (action < 0) return false;
        act(PlaybackAction(action));
        return true;
    }
    return false;
}

uint32_t sdl_viewer_clock(uint32_t real_ms) { return watching ? playback_clock(&viewer, real_ms) : real_ms; }

int32_t sdl_viewer_wait(int32_t game_ms) { return watching ? playback_real_wait(viewer, game_ms) : game_ms; }

bool sdl_viewer_stands_still() { return watching && playback_stands_still(viewer); }

bool sdl_viewer_hushed() { return watching && playback_hushed(viewer); }

bool sdl_viewer_shows_frame() {
    if (!watching) return true;
    const bool was_seeking = viewer.seeking;
    const bool stepped = viewer.step_pending;
    playback_frame_ran(&viewer, frames_run() + 1);
    band_stale = true;
    const bool sought = was_seeking && !viewer.seeking;
    if (stepped || sought) {
        sdl_follow_pause();
        say_where(frames_run() + 1);
    }
    if (sought) sdl_apply_volumes();
    if (!playback_shows_frames(viewer)) return false;
    if (sought) return true;
    if (viewer.speed != speed_unpaced || viewer.paused) return true;
    const double now = sdl_precise_ms();
    if (now - last_shown_ms < unpaced_present_ms) return false;
    last_shown_ms = now;
    return true;
}

void sdl_viewer_watch() {
    watching = true;
    viewer = PlaybackControl{};
    playback_act(&viewer, playback_to_start, 0, input_feed.script.frames);
    band_stale = true;
    band_until_ms = sdl_precise_ms() + band_linger_ms;
}

bool sdl_viewer_restart_wanted() { return watching && viewer.restart_pending; }

void sdl_viewer_restarted() {
    playback_restarted(&viewer);
    band_stale = true;
}

const OverlayImage* sdl_viewer_band() {
    // A playback watched as it was played shows the game alone.
    const bool at_rest = !viewer.paused && !viewer.seeking && viewer.speed == speed_normal;
    if (!watching || (at_rest && sdl_precise_ms() > band_until_ms)) return nullptr;
    const PixelFont* font = sdl_overlay_font();
    if (!font) return nullptr;
    if (band_stale) {
        draw_playback_band(&band, *font, viewer, frames_run(), input_feed.script.frames, english_band);
        band_stale = false;
    }
    return &band;
}
