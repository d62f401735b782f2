#include "support/round_setup.h"

#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "core/input.h"
#include "support/headless_game.h"

bool start_round_display() { return start_headless_game() && load_sheet("bitmap/main.bmp"); }

void place_player(int32_t lane) {
    RoundState& r = round_data;
    r.player_lane = lane;
    r.player_x = 56 - 16 * lane;
    r.player_y = 32 * lane + 48;
    r.player_action = action_idle;
    r.player_timer = 0;
    r.player_pose = pose_standing;
    r.shots_left = shot_count;
    // Waiting raiders stand far right, out of every shot's way.
    for (auto& row : r.raiders)
        for (Raider& raider : row) raider = Raider{400, 0, 0, 0, raider_waiting};
    for (Bowl& bowl : r.bowls) bowl.amount = 1000;
    r.time_left = 18000;
}

void next_input(int32_t dir, bool a, bool b) {
    input.dir_prev = input.dir;
    input.button_a_prev = input.button_a;
    input.button_b_prev = input.button_b;
    input.dir = dir;
    input.button_a = a;
    input.button_b = b;
}

void play_frame() {
    update_player();
    draw_player(round_data.player_x, round_data.player_y, round_data.player_pose);
    draw_bowls();
    update_raiders();
    update_shots();
}

uint64_t drawn_hash(const std::function<void()>& draw) {
    clear_screen();
    draw();
    return back_buffer_hash();
}

uint64_t sprites_hash(const std::vector<Placed>& sprites) {
    return drawn_hash([&] {
        for (const Placed& s : sprites) draw_sprite(s.x, s.y, s.rect);
    });
}

bool sound_is_recorded() {
    headless_take_events();
    const bool enabled = se_enabled;
    se_enabled = true;
    play_se(effect_confirm);
    se_enabled = enabled;
    bool recorded = false;
    for (const HeadlessEvent& e : headless_take_events()) recorded |= e.kind == HeadlessEvent::se;
    return recorded;
}

std::vector<std::string> take_sounds() {
    std::vector<std::string> sounds;
    for (const HeadlessEvent& e : headless_take_events()) {
        if (e.kind == HeadlessEvent::se) sounds.push_back("se " + std::to_string(e.number));
        if (e.kind == HeadlessEvent::voice) sounds.push_back("voice " + e.text);
    }
    return sounds;
}
