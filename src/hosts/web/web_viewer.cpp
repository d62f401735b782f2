// Watching a ?playback= recording on the page: the page hands its viewer keys
// to the shared playback control; the game's clock goes at the speed chosen,
// the page is told when the next frame is due by its own clock, the frames of
// a seek run unshown, and a seek back starts the game again first.
#include <algorithm>
#include <utility>

#include "core/data_file.h"
#include "hosts/shared/captions.h"
#include "hosts/shared/game_keys.h"
#include "hosts/shared/input_feed.h"
#include "hosts/shared/playback_band.h"
#include "hosts/shared/playback_control.h"
#include "hosts/web/web_host.h"
#include "shell/shell.h"

namespace {

PlaybackControl viewer;
bool watching = false;
OverlayImage band;

uint64_t frames_run() { return input_feed.script.frames_run; }

}  // namespace

void web_viewer_begin() {
    watching = true;
    viewer = PlaybackControl{};
}

uint32_t web_viewer_clock(uint32_t page_ms) { return watching ? playback_clock(&viewer, page_ms) : page_ms; }

uint32_t web_viewer_due(uint32_t page_ms, uint32_t deadline_ms) {
    if (!watching) return deadline_ms;
    const uint32_t game_now = uint32_t(viewer.game_quarters / 4);
    return page_ms + uint32_t(std::max(0, playback_real_wait(viewer, int32_t(deadline_ms - game_now))));
}

bool web_viewer_shows_frame() {
    if (!watching) return true;
    playback_frame_ran(&viewer, frames_run() + 1);
    return playback_shows_frames(viewer);
}

void web_viewer_before_step() {
    if (!watching || !viewer.restart_pending) return;
    reset_captions();
    input_feed.script = script_player(std::move(input_feed.script.runs));
    game_restart();
    playback_restarted(&viewer);
}

// A key or button of the viewer's (a PlaybackAction): 1 when a recording is
// watched and took it.
WEB_EXPORT("web_viewer_act") int web_viewer_act(int action) {
    if (!watching || action < playback_pause || action > playback_forward) return 0;
    playback_act(&viewer, PlaybackAction(action), frames_run(), input_feed.script.frames);
    return 1;
}

// The PlaybackAction of the standard mapping's button `index`, or -1.
WEB_EXPORT("web_viewer_button") int web_viewer_button(int index) {
    return index >= 0 && index < standard_pad_button_count ? playback_button_action(standard_pad_buttons[index]) : -1;
}

// Bit 0: a recording is watched; 1: it stands still (paused, nothing to
// step); 2: it is not heard (off the game's pace or seeking); 3: the viewer
// is in use (paused, seeking or off the game's pace), so its band shows.
WEB_EXPORT("web_viewer_state") int web_viewer_state() {
    if (!watching) return 0;
    const bool in_use = viewer.paused || viewer.seeking || viewer.speed != speed_normal;
    return 1 | (playback_stands_still(viewer) ? 2 : 0) | (playback_hushed(viewer) ? 4 : 0) | (in_use ? 8 : 0);
}

// The frames run so far, where a pause or a step left the playback.
WEB_EXPORT("web_viewer_frame") uint32_t web_viewer_frame() { return uint32_t(frames_run()); }

// The band drawn now (playback_band_width wide, web_viewer_band_height high,
// 0xAARRGGBB); null without the overlay's font.
WEB_EXPORT("web_viewer_band") const OverlayColour* web_viewer_band() {
    const PixelFont* font = web_overlay_font();
    if (!font) return nullptr;
    draw_playback_band(&band, *font, viewer, frames_run(), input_feed.script.frames,
                       game_language() == language_english);
    return band.pixels.data();
}

WEB_EXPORT("web_viewer_band_height") int web_viewer_band_height() { return band.height; }
