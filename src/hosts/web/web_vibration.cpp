// What a phone's vibration follows: a bowl emptied while the round is played,
// and the round's end, won or lost. Read from the game's state after each
// frame shown, so the picture and the trace are untouched; the page takes
// them once a refresh and buzzes if the player has not turned it off.
#include "gameplay/gameplay.h"
#include "hosts/shared/round_watch.h"
#include "hosts/web/web_host.h"
#include "scenes/scenes.h"
#include "shell/shell.h"

namespace {

enum VibrationCue { cue_bowl_emptied = 1, cue_round_ended = 2 };

RoundWatch watch;
int32_t bowls_before[lane_count];
bool bowls_seen = false;  // bowls_before holds this round's amounts
int cues = 0;             // VibrationCue bits since the page last took them

}  // namespace

void web_watch_vibration() {
    const RoundEvent event = watch_round(&watch);
    if (event == round_event_won || event == round_event_lost) cues |= cue_round_ended;
    // A lost round's bowls are emptied with its banner: the round's end says it.
    const bool playing = top_scene == scene_play && play_state == play_in_round && round_state == round_playing;
    if (!playing) {
        bowls_seen = false;
        return;
    }
    for (int lane = 0; lane < lane_count; ++lane) {
        const int32_t amount = round_data.bowls[lane].amount;
        if (bowls_seen && bowls_before[lane] > 0 && amount <= 0) cues |= cue_bowl_emptied;
        bowls_before[lane] = amount;
    }
    bowls_seen = true;
}

// The cues since the last call (VibrationCue bits), for the page to buzz.
WEB_EXPORT("web_take_vibration") int web_take_vibration() {
    const int taken = cues;
    cues = 0;
    return taken;
}
