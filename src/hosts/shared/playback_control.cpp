#include "hosts/shared/playback_control.h"

#include <cstring>

namespace {

struct SpeedName {
    const char* text;
    PlaybackSpeed speed;
};
const SpeedName speed_names[] = {
    {"1/4", speed_quarter}, {"0.25", speed_quarter}, {"1/2", speed_half},     {"0.5", speed_half},
    {"1", speed_normal},    {"2", speed_double},     {"4", speed_fourfold},   {"8", speed_eightfold},
    {"max", speed_unpaced},
};

// Quarter milliseconds of the game's clock to a millisecond of the host's.
uint64_t quarters_per_ms(PlaybackSpeed speed) {
    switch (speed) {
    case speed_quarter: return 1;
    case speed_half: return 2;
    case speed_normal: return 4;
    case speed_double: return 8;
    case speed_fourfold: return 16;
    case speed_eightfold: return 32;
    case speed_unpaced: return 0;
    }
    return 4;
}

constexpr uint64_t frame_quarters = 17 * 4;  // the game runs a frame once 17 ms have gone by

bool runs_unpaced(const PlaybackControl& control) { return control.seeking || control.speed == speed_unpaced; }

struct PlaybackButton {
    const char* name;
    PlaybackAction action;
};
const PlaybackButton playback_buttons[] = {
    {"a", playback_pause},          {"b", playback_step},      {"leftshoulder", playback_slower},
    {"rightshoulder", playback_faster}, {"back", playback_to_start}, {"dpleft", playback_back},
    {"dpright", playback_forward},
};

}  // namespace

int playback_button_action(const char* name) {
    for (const PlaybackButton& button : playback_buttons)
        if (name && std::strcmp(name, button.name) == 0) return button.action;
    return -1;
}

bool parse_playback_speed(const std::string& text, PlaybackSpeed* speed) {
    for (const SpeedName& name : speed_names)
        if (text == name.text) {
            *speed = name.speed;
            return true;
        }
    return false;
}

const char* playback_speed_name(PlaybackSpeed speed) {
    static const char* const names[] = {"1/4x", "1/2x", "1x", "2x", "4x", "8x", "max"};
    return speed >= speed_quarter && speed <= speed_unpaced ? names[speed] : "1x";
}

void playback_act(PlaybackControl* control, PlaybackAction action, uint64_t frame, uint64_t frames) {
    if (control->seeking) return;  // one seek at a time; it takes a moment only
    switch (action) {
    case playback_pause:
        control->paused = !control->paused;
        control->step_pending = false;
        break;
    case playback_step:
        control->paused = true;
        control->step_pending = frame < frames;
        break;
    case playback_slower:
        if (control->speed > speed_quarter) control->speed = PlaybackSpeed(control->speed - 1);
        break;
    case playback_faster:
        if (control->speed < speed_unpaced) control->speed = PlaybackSpeed(control->speed + 1);
        break;
    case playback_to_start:
    case playback_back:
        // To the first frame at the least, so that a picture of it is shown.
        control->seeking = control->restart_pending = true;
        control->seek_to =
            action == playback_back && frame > playback_seek_frames + 1 ? frame - playback_seek_frames : 1;
        break;
    case playback_forward: {
        const uint64_t target = frames - frame > playback_seek_frames ? frame + playback_seek_frames : frames;
        if (target <= frame) break;
        control->seeking = true;
        control->seek_to = target;
        break;
    }
    }
}

void playback_frame_ran(PlaybackControl* control, uint64_t frame) {
    control->step_pending = false;
    if (control->seeking && !control->restart_pending && frame >= control->seek_to) control->seeking = false;
}

void playback_restarted(PlaybackControl* control) { control->restart_pending = false; }

bool playback_shows_frames(const PlaybackControl& control) {
    // The frame that ends a seek is shown.
    return !control.seeking;
}

bool playback_hushed(const PlaybackControl& control) {
    // Sped up or slowed down, voices and music would only be noise out of step.
    return control.seeking || control.speed != speed_normal;
}

bool playback_stands_still(const PlaybackControl& control) {
    return control.paused && !control.step_pending && !control.seeking;
}

uint32_t playback_clock(PlaybackControl* control, uint32_t real_ms) {
    if (!control->clock_started) {
        control->clock_started = true;
        control->game_quarters = uint64_t(real_ms) * 4;
        control->last_real_ms = real_ms;
    }
    const uint32_t elapsed = real_ms - control->last_real_ms;
    control->last_real_ms = real_ms;
    if (runs_unpaced(*control) || control->step_pending) control->game_quarters += frame_quarters;
    else if (!control->paused) control->game_quarters += uint64_t(elapsed) * quarters_per_ms(control->speed);
    return uint32_t(control->game_quarters / 4);
}

int32_t playback_real_wait(const PlaybackControl& control, int32_t game_ms) {
    if (game_ms <= 0 || runs_unpaced(control) || control.step_pending) return 0;
    if (control.paused) return game_ms;  // until something happens; the host waits on its events
    const int64_t per_ms = int64_t(quarters_per_ms(control.speed));
    return int32_t((int64_t(game_ms) * 4 + per_ms - 1) / per_ms);
}
