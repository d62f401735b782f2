#include "trace.h"

#include <cstdio>

#include "audio/audio.h"
#include "gameplay/gameplay.h"
#include "graphics/graphics.h"
#include "hosts/headless/headless.h"
#include "scenes/scenes.h"
#include "core/input.h"
#include "shell/shell.h"

std::string json_string(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

namespace {

// Builds one line; a string keeps the code that writes each key short.
struct Line {
    std::string text;

    void key(const char* name) {
        text += text.empty() ? "{\"" : ",\"";
        text += name;
        text += "\":";
    }
    void number(int64_t value) { text += std::to_string(value); }
    void numbers(std::initializer_list<int64_t> values) {
        text += '[';
        bool first = true;
        for (int64_t v : values) {
            if (!first) text += ',';
            first = false;
            text += std::to_string(v);
        }
        text += ']';
    }
};

std::string event_json(const HeadlessEvent& event) {
    switch (event.kind) {
    case HeadlessEvent::se: return "[\"se\"," + std::to_string(event.number) + "]";
    case HeadlessEvent::voice: return "[\"voice\"," + json_string(event.text) + "]";
    case HeadlessEvent::music:
        return "[\"music\"," + json_string(event.text) + "," + std::to_string(event.number) + "]";
    case HeadlessEvent::stop_music: return "[\"stop_music\"]";
    case HeadlessEvent::sheet: return "[\"sheet\"," + json_string(event.text) + "]";
    case HeadlessEvent::box:
        return "[\"box\"," + json_string(event.text) + "," + json_string(event.caption) + "]";
    }
    return "[]";
}

}  // namespace

std::string trace_line(uint64_t frame, bool presented, const std::vector<HeadlessEvent>& events,
                       bool with_playing) {
    const RoundState& r = round_data;
    const InputState& in = input;
    Line line;
    line.key("frame"); line.number(int64_t(frame));
    line.key("top_scene"); line.number(top_scene);
    line.key("scenes");
    line.numbers({title_state, play_state, round_state, cutin_state, cutin_offset, result_state, result_counter});
    line.key("input");
    line.numbers({in.dir, in.button_a, in.button_b, in.button_c, in.button_d});
    line.key("sound"); line.numbers({se_enabled ? 1 : 0, voice_cooldown});
    line.key("title");
    line.numbers({menu_choice, cursor_pos, cursor_blink, logo_y, logo_speed, strip_offset});
    line.key("fx");
    line.numbers({mosaic_step, wipe_open_state, wipe_open_offset, wipe_close_state, wipe_close_offset});
    line.key("time_left"); line.number(r.time_left);
    line.key("player");
    line.numbers({r.player_x, r.player_y, r.player_pose, r.player_timer, r.player_action, r.player_lane,
                  r.shots_left, r.idle_clock, r.flash_frame, r.drop_speed, r.drop_state});
    line.key("bowls");
    line.text += '[';
    for (int i = 0; i < lane_count; ++i) {
        if (i) line.text += ',';
        line.numbers({r.bowls[i].x, r.bowls[i].y, r.bowls[i].amount});
    }
    line.text += ']';
    line.key("bowl_drop"); line.numbers({r.bowl_drop_state, r.bowl_fall_speed});
    line.key("raiders");
    line.text += '[';
    for (int row = 0; row < lane_count; ++row) {
        for (int slot = 0; slot < raiders_per_lane; ++slot) {
            const Raider& e = r.raiders[row][slot];
            if (row || slot) line.text += ',';
            line.numbers({e.x, e.y, e.hp, e.anim, e.state});
        }
    }
    line.text += ']';
    line.key("shots");
    line.text += '[';
    for (int i = 0; i < shot_count; ++i) {
        const Shot& s = r.shots[i];
        if (i) line.text += ',';
        line.numbers({s.id, s.state, s.x, s.y, s.timer});
    }
    line.text += ']';
    line.key("scroll"); line.numbers({r.scroll[0], r.scroll[1], r.scroll[2], r.scroll[3]});
    line.key("result"); line.numbers({r.total_left, r.rank});
    line.key("events");
    line.text += '[';
    for (size_t i = 0; i < events.size(); ++i) {
        if (i) line.text += ',';
        line.text += event_json(events[i]);
    }
    line.text += ']';
    line.key("presented"); line.text += presented ? "true" : "false";
    line.key("fb");
    char hash[24];
    std::snprintf(hash, sizeof hash, "\"%016llx\"", static_cast<unsigned long long>(back_buffer_hash()));
    line.text += hash;
    if (with_playing) {
        // What really sounds: the plays asked of the music now playing (0: none,
        // as when music is off) and whether the voice channel holds a clip.
        line.key("playing");
        line.numbers({headless_music_plays(), headless_clip_bound(voice_slot) ? 1 : 0});
    }
    line.text += "}\n";
    return line.text;
}
