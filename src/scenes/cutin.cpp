// The banner that ends a round, won or lost: it falls in over play that has
// not stopped yet, a jingle and the bars close the field, a voice says its
// line, and the banner slides off to the right.
#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"
#include "scenes/scenes.h"

CutinState cutin_state = cutin_starting;
int32_t cutin_offset = 0;

void reset_cutin() {
    cutin_state = cutin_starting;
    cutin_offset = 0;
}

// Behind the banner the girl still answers the controls and beans keep
// flying; the clock is drawn frozen.
static void cutin_scene_step(bool won) {
    RoundState& r = round_data;
    draw_playfield();
    update_player();
    draw_player(r.player_x, r.player_y, r.player_pose);
    draw_bowls();
    if (won) {
        // After a win every raider, waiting ones too, is swept up and away.
        const Rect knocked_back = make_rect(64, 80, 96, 120);
        for (auto& row : r.raiders) {
            for (Raider& e : row) {
                e.x += 10;
                e.y -= 10;
                draw_sprite(e.x, e.y, knocked_back);
            }
        }
    } else {
        update_raiders();
    }
    update_shots();
    update_timer_hud(false);
}

bool finish_cutin(bool won) {
    const Rect picture = won ? make_rect(160, 40, 272, 104) : make_rect(160, 104, 272, 168);

    if (cutin_state == cutin_starting) {
        cutin_scene_step(won);
        cutin_offset = -64;
        cutin_state = cutin_falling;
    }
    switch (cutin_state) {
    case cutin_falling:
        cutin_scene_step(won);
        draw_sprite(104, cutin_offset, picture);
        cutin_offset += 4;
        if (cutin_offset >= 80) {
            stop_music();
            play_music(won ? "midi/end.mid" : "midi/miss.mid", false);
            cutin_state = cutin_closing;
        }
        return false;
    case cutin_closing:
        cutin_scene_step(won);
        if (wipe_close()) {
            voice_cooldown = 0;  // this clip must not be held back by an earlier one
            cutin_state = cutin_holding;
            play_voice(won ? "voice/itadaki.wav" : "voice/uwa.wav");
        }
        draw_sprite(104, 80, picture);  // over the closing bars
        return false;
    case cutin_holding:
        clear_screen();
        cutin_offset -= 2;  // here a hold clock, 80 down to 0
        if (cutin_offset <= 0) cutin_state = cutin_sliding_off;
        draw_sprite(104, 80, picture);
        return false;
    case cutin_sliding_off:
        clear_screen();
        draw_sprite(104 + cutin_offset, 80, picture);
        cutin_offset += 10;
        if (cutin_offset >= 320) {
            cutin_state = cutin_starting;
            return true;
        }
        return false;
    default:
        return false;
    }
}
