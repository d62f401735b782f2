// Watching a recording: pause and resume, one frame forward, speeds from a
// quarter of the game's pace to eight times it or as fast as the machine
// goes, and seeking by playing the recording again from its start without
// showing the frames on the way (the game is exact, so that is cheap). Each
// host turns its keys and buttons into these actions and gives the game the
// clock made here.
#pragma once

#include <cstdint>
#include <string>

enum PlaybackSpeed : int32_t {
    speed_quarter = 0, speed_half = 1, speed_normal = 2, speed_double = 3, speed_fourfold = 4,
    speed_eightfold = 5, speed_unpaced = 6,
};

enum PlaybackAction : int32_t {
    playback_pause,     // pause, or resume
    playback_step,      // one frame forward, paused
    playback_slower,
    playback_faster,
    playback_to_start,
    playback_back,      // ten seconds back
    playback_forward,   // ten seconds forward
};

// The pad's buttons that steer the viewer on every host, by the names of
// game_keys.h's standard pad buttons: the action of the one named, or -1.
int playback_button_action(const char* name);

// The game's 58.8 frames a second, rounded: ten seconds of it.
constexpr uint64_t playback_seek_frames = 588;

struct PlaybackControl {
    PlaybackSpeed speed = speed_normal;
    bool paused = false;
    bool step_pending = false;  // one frame to run, then paused again
    // A seek: the frames up to `seek_to` run unshown and unheard; a seek back
    // first has the game start again.
    bool seeking = false;
    bool restart_pending = false;
    uint64_t seek_to = 0;
    // The clock given to the game, in quarter milliseconds, and the host's
    // clock when it was last read.
    uint64_t game_quarters = 0;
    uint32_t last_real_ms = 0;
    bool clock_started = false;
};

// "1/4", "0.25", "1/2", "0.5", "1", "2", "4", "8" or "max"; false for anything else.
bool parse_playback_speed(const std::string& text, PlaybackSpeed* speed);
// "1/4x" ... "8x", "max".
const char* playback_speed_name(PlaybackSpeed speed);

// An action while frame `frame` (the frames run so far) of a recording of
// `frames` frames is shown.
void playback_act(PlaybackControl* control, PlaybackAction action, uint64_t frame, uint64_t frames);
// The game has run frame `frame`: a step or a seek that is over ends here.
void playback_frame_ran(PlaybackControl* control, uint64_t frame);
// The game started again for a seek back.
void playback_restarted(PlaybackControl* control);

// Whether the frame just run is shown (not while seeking).
bool playback_shows_frames(const PlaybackControl& control);
// Sound is heard only at the game's own pace, playing.
bool playback_hushed(const PlaybackControl& control);
// Whether the game stands still (paused, with no step to run).
bool playback_stands_still(const PlaybackControl& control);

// The clock the game reads, from the host's own (milliseconds): it goes at
// the speed chosen; unpaced (or seeking) it moves a frame's worth at every
// reading, so that a frame is always due.
uint32_t playback_clock(PlaybackControl* control, uint32_t real_ms);
// How long, by the host's clock, until the game's clock has moved `game_ms`.
int32_t playback_real_wait(const PlaybackControl& control, int32_t game_ms);
