#include "hosts/shared/script_player.h"

#include <algorithm>
#include <utility>

ScriptPlayer script_player(std::vector<InputRun> runs) {
    ScriptPlayer player;
    player.runs = std::move(runs);
    uint64_t frames = 0;
    for (const InputRun& run : player.runs) {
        player.run_starts.push_back(frames + 1);
        frames += run.count;
    }
    player.frames = frames;
    return player;
}

const InputRun* script_run_at(const ScriptPlayer& player, uint64_t frame, uint64_t* index, uint64_t* start) {
    if (frame < 1 || frame > player.frames) return nullptr;
    const auto after = std::upper_bound(player.run_starts.begin(), player.run_starts.end(), frame);
    const size_t found = size_t(after - player.run_starts.begin()) - 1;
    *index = found;
    *start = player.run_starts[found];
    return &player.runs[found];
}

static const InputRun* run_about_to_run(const ScriptPlayer& player) {
    uint64_t index, start;
    return script_run_at(player, player.frames_run + 1, &index, &start);
}

KeyboardState script_keyboard(const ScriptPlayer& player) {
    const InputRun* run = run_about_to_run(player);
    return run ? run->keys : KeyboardState{};
}

JoystickState script_joystick(const ScriptPlayer& player) {
    const InputRun* run = run_about_to_run(player);
    return run ? run->joystick : joystick_at_rest;
}

bool next_script_key_down(ScriptPlayer* player, const InputRun* run, uint64_t index, bool run_begins, bool* escape) {
    if (run && run_begins && player->queued_for != index) {
        player->queued_for = index;
        for (const bool KeyboardState::*key :
             {&KeyboardState::up, &KeyboardState::down, &KeyboardState::left, &KeyboardState::right,
              &KeyboardState::enter, &KeyboardState::shift, &KeyboardState::ctrl, &KeyboardState::space})
            if (run->keys.*key && !(player->keys_before.*key)) player->pending.push_back(false);
        if (run->escape) player->pending.push_back(true);
        player->keys_before = run->keys;
    }
    if (player->pending.empty()) return false;
    *escape = player->pending.front();
    player->pending.erase(player->pending.begin());
    return true;
}

bool script_close(ScriptPlayer* player, PlatformMessage* message) {
    if (player->close_sent) return false;
    player->close_sent = true;
    *message = PlatformMessage{message_close, false};
    return true;
}

bool script_message(ScriptPlayer* player, PlatformMessage* message) {
    const uint64_t frame = player->frames_run + 1;
    if (frame > player->frames) return script_close(player, message);
    uint64_t index = 0, start = 0;
    const InputRun* run = script_run_at(*player, frame, &index, &start);
    bool escape;
    if (!next_script_key_down(player, run, index, start == frame, &escape)) return false;
    *message = PlatformMessage{message_key_down, escape};
    return true;
}

void script_frame_ran(ScriptPlayer* player) { ++player->frames_run; }

ScriptHeader script_header(const std::string& text) {
    ScriptHeader header;
    header.seed_named = script_seed(text, &header.seed);
    if (!header.seed_named) header.seed = 1;
    header.language = script_language(text);
    header.warnings = script_seed_warnings(text);
    return header;
}
