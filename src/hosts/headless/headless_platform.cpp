// The headless host: no window, no audio device, a simulated clock that
// moves 17 ms per idle pass (so every pass runs exactly one frame), and input
// read from a script.
#include "hosts/headless/headless.h"
#include "hosts/shared/script_player.h"
#include "core/observer.h"

namespace {

// Everything a run changes; headless_configure starts the next run from scratch.
struct Run {
    HeadlessConfig config;
    uint32_t clock_ms = 1000;
    uint64_t frames_run = 0;
    bool frame0_reported = false;
    bool quit_posted = false;
    ScriptPlayer player;
    uint64_t key_downs_sent = 0;
    std::vector<HeadlessEvent> events;
    std::vector<std::string> release_log;
    bool display_open = false;
    bool audio_open = false;
    bool music_open = false;
    bool clip_bound[sound_slot_count] = {};
    std::vector<uint8_t> clip_samples[sound_slot_count];
    ClipFormat clip_formats[sound_slot_count] = {};
    uint64_t clip_plays[sound_slot_count] = {};
    int music_loaded_count = 0;
    int music_plays = 0;

    // The input source's answer for the frame last asked about; count 0 once it has ended.
    uint64_t sourced_frame = 0;
    InputRun sourced_run{};
};

Run run;

bool slot_in_range(int slot) { return slot >= 0 && slot < sound_slot_count; }

void record(HeadlessEvent::Kind kind, const char* text, int number) {
    run.events.push_back(HeadlessEvent{kind, text, "", number});
}

const GameObserver headless_observer = {
    [](const char* path) { record(HeadlessEvent::sheet, path, 0); },
    [](int slot) { record(HeadlessEvent::se, "", slot); },
    [](const char* path) { record(HeadlessEvent::voice, path, 0); },
    [](const char* path, bool loop) { record(HeadlessEvent::music, path, loop ? 1 : 0); },
    []() { record(HeadlessEvent::stop_music, "", 0); },
    [](bool presented) {
        ++run.frames_run;
        script_frame_ran(&run.player);
        if (run.config.on_frame) run.config.on_frame(run.frames_run, presented);
    },
    nullptr,
};

// The source's input for `frame`, asked once per frame, or null once it has ended.
const InputRun* sourced_input(uint64_t frame) {
    if (run.sourced_frame != frame && (run.sourced_frame == 0 || run.sourced_run.count != 0)) {
        run.sourced_run = run.config.input_source(frame);
        run.sourced_frame = frame;
    }
    return run.sourced_run.count != 0 ? &run.sourced_run : nullptr;
}

// The run holding frame `frame` (1-based) and the frame it starts at, or null after the script.
// A sourced input is a run of its own for every frame.
const InputRun* run_for_frame(uint64_t frame, uint64_t* run_index, uint64_t* run_start) {
    if (run.config.input_source) {
        *run_index = *run_start = frame;
        return sourced_input(frame);
    }
    return script_run_at(run.player, frame, run_index, run_start);
}

// The input of the frame being run.
const InputRun* current_run() {
    uint64_t index, start;
    return run_for_frame(run.frames_run + 1, &index, &start);
}

void report_frame0() {
    if (run.frame0_reported) return;
    run.frame0_reported = true;
    if (run.config.on_frame) run.config.on_frame(0, false);
}

}  // namespace

struct PlatformWindow {};
struct PlatformMusic {
    int id;
};

void headless_configure(const HeadlessConfig& config) {
    run = Run{};
    run.config = config;
    run.clock_ms = config.clock_start_ms;
    run.player = script_player(config.script);
    clear_game_observers();
    add_game_observer(&headless_observer);
}

void headless_finish() { report_frame0(); }

std::vector<HeadlessEvent> headless_take_events() {
    std::vector<HeadlessEvent> taken;
    taken.swap(run.events);
    return taken;
}

const std::vector<std::string>& headless_release_log() { return run.release_log; }
uint64_t headless_frames_run() { return run.frames_run; }
uint64_t headless_key_downs_sent() { return run.key_downs_sent; }
void headless_set_clock(uint32_t ms) { run.clock_ms = ms; }
bool headless_clip_bound(int slot) { return slot_in_range(slot) && run.clip_bound[slot]; }
bool headless_music_loaded() { return run.music_loaded_count > 0; }
const std::vector<uint8_t>& headless_clip_samples(int slot) {
    static const std::vector<uint8_t> none;
    return slot_in_range(slot) ? run.clip_samples[slot] : none;
}
ClipFormat headless_clip_format(int slot) { return slot_in_range(slot) ? run.clip_formats[slot] : ClipFormat{}; }
uint64_t headless_clip_plays(int slot) { return slot_in_range(slot) ? run.clip_plays[slot] : 0; }
int headless_music_plays() { return run.music_plays; }

// ---- Window and messages ------------------------------------------------------

PlatformWindow* platform_create_window(const char*, int, int) {
    static PlatformWindow window;
    return &window;
}

void platform_destroy_window(PlatformWindow* window) {
    if (window) run.release_log.push_back("window");
}

void platform_hide_cursor() {}

bool platform_take_message(PlatformMessage* message) {
    report_frame0();
    if (run.quit_posted) {
        run.quit_posted = false;
        *message = PlatformMessage{message_quit, false};
        return true;
    }
    const uint64_t frame = run.frames_run + 1;
    const bool limited = run.config.frame_limit >= 0;
    const bool limit_reached = limited && run.frames_run >= uint64_t(run.config.frame_limit);
    uint64_t index = 0, start = 0;
    const InputRun* input = limit_reached ? nullptr : run_for_frame(frame, &index, &start);
    bool input_over = run.config.input_source ? !input : run.frames_run >= run.player.frames;
    if (limited) input_over = limit_reached;
    bool escape;
    if (input_over) {
        if (!script_close(&run.player, message)) return false;
    } else if (next_script_key_down(&run.player, input, index, input && start == frame, &escape)) {
        *message = PlatformMessage{message_key_down, escape};
    } else {
        return false;
    }
    if (message->kind == message_key_down) ++run.key_downs_sent;
    return true;
}

void platform_post_quit() {
    run.release_log.push_back("quit");
    run.quit_posted = true;
}

void platform_wait_until(uint32_t) { run.clock_ms += simulated_clock_step_ms; }

uint32_t platform_ticks_ms() { return run.clock_ms; }
uint32_t platform_calendar_seconds() { return run.config.seed; }

// ---- Input ----------------------------------------------------------------------

bool platform_read_keyboard(KeyboardState* keys) {
    const InputRun* input = current_run();
    *keys = input ? input->keys : KeyboardState{};
    return true;
}

// A joystick is always there; centred with no button it cannot be told from none.
bool platform_read_joystick(JoystickState* joystick) {
    const InputRun* input = current_run();
    *joystick = input ? input->joystick : joystick_at_rest;
    return true;
}

// ---- Message boxes --------------------------------------------------------------

void platform_message_box(const char* text, const char* caption, bool) {
    run.events.push_back(HeadlessEvent{HeadlessEvent::box, text, caption, 0});
}

// ---- Screen -----------------------------------------------------------------------

bool platform_open_display(PlatformWindow* window, int, int) {
    if (run.config.display_fails || !window) return false;
    run.display_open = true;
    return true;
}

// The picture stays in the game's back buffer, where the trace reads it.
void platform_present(const void*, int) {}

void platform_close_display() {
    if (!run.display_open) return;
    run.display_open = false;
    run.release_log.push_back("display");
}

// ---- Audio --------------------------------------------------------------------------

bool platform_audio_open() {
    if (run.config.audio_fails) return false;
    run.audio_open = true;
    return true;
}

void platform_audio_close() {
    if (!run.audio_open) return;
    for (int slot = 0; slot < sound_slot_count; ++slot) platform_clip_unbind(slot);
    run.audio_open = false;
    run.release_log.push_back("audio");
}

// The clip is kept as it is given, in its own format.
bool platform_clip_bind(int slot, const uint8_t* samples, uint32_t byte_count, const ClipFormat& format) {
    platform_clip_unbind(slot);
    if (!run.audio_open || !slot_in_range(slot)) return false;
    if (byte_count > run.config.largest_clip_bytes) return false;
    run.clip_bound[slot] = true;
    run.clip_samples[slot].assign(samples, samples + byte_count);
    run.clip_formats[slot] = format;
    return true;
}

void platform_clip_unbind(int slot) {
    if (!slot_in_range(slot)) return;
    run.clip_bound[slot] = false;
    run.clip_samples[slot].clear();
    run.clip_formats[slot] = ClipFormat{};
}

void platform_clip_play(int slot) {
    if (slot_in_range(slot) && run.clip_bound[slot]) ++run.clip_plays[slot];
}

bool platform_music_open() {
    if (run.config.music_fails || !run.audio_open) return false;
    run.music_open = true;
    return true;
}

void platform_music_close() {
    if (!run.music_open) return;
    run.music_open = false;
    run.music_plays = 0;
    run.release_log.push_back("music");
}

PlatformMusic* platform_music_load(const uint8_t*, size_t) {
    if (!run.music_open) return nullptr;
    ++run.music_loaded_count;
    return new PlatformMusic{run.music_loaded_count};
}

void platform_music_play(PlatformMusic* music, int plays) {
    if (run.music_open && music) run.music_plays = plays;
}

void platform_music_stop() { run.music_plays = 0; }

void platform_music_free(PlatformMusic* music) {
    if (!music) return;
    run.music_plays = 0;
    --run.music_loaded_count;
    delete music;
}
