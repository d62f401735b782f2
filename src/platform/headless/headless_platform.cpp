// The headless platform: no window, no audio device, a simulated clock that
// moves 17 ms per idle pass (so every pass runs exactly one frame), and input
// read from a script.
#include <SDL_audio.h>

#include <algorithm>
#include <cstring>

#include "platform/headless/headless.h"

namespace {

HeadlessConfig config;
uint32_t clock_ms = 1000;
uint64_t frames_run = 0;
bool frame0_reported = false;
bool stop_requested = false;
bool quit_posted = false;
uint64_t escape_delivered_for_run = UINT64_MAX;
std::vector<HeadlessEvent> events;
std::vector<std::string> release_log;
std::vector<uint16_t> screen;
int screen_width_px = 0;
bool display_open = false;
bool audio_open = false;
bool music_open = false;
bool clip_bound[8] = {};
int music_loaded_count = 0;
std::vector<uint8_t> clip_samples[8];
uint64_t clip_plays[8] = {};
int music_plays = 0;

std::vector<uint64_t> run_starts;  // the first frame of each run, 1-based
uint64_t script_frames = 0;

// The input source's answer for the frame last asked about; count 0 once it has ended.
uint64_t sourced_frame = 0;
InputRun sourced_run{};

// The source's input for `frame`, asked once per frame, or null once it has ended.
const InputRun* sourced_input(uint64_t frame) {
    if (sourced_frame != frame && (sourced_frame == 0 || sourced_run.count != 0)) {
        sourced_run = config.input_source(frame);
        sourced_frame = frame;
    }
    return sourced_run.count != 0 ? &sourced_run : nullptr;
}

// The run holding frame `frame` (1-based) and the frame it starts at, or null after the script.
// A sourced input is a run of its own for every frame.
const InputRun* run_for_frame(uint64_t frame, uint64_t* run_index, uint64_t* run_start) {
    if (config.input_source) {
        *run_index = *run_start = frame;
        return sourced_input(frame);
    }
    if (frame < 1 || frame > script_frames) return nullptr;
    const auto after = std::upper_bound(run_starts.begin(), run_starts.end(), frame);
    const uint64_t index = uint64_t(after - run_starts.begin()) - 1;
    *run_index = index;
    *run_start = run_starts[index];
    return &config.script[index];
}

// The input of the frame being run.
const InputRun* current_run() {
    uint64_t index, start;
    return run_for_frame(frames_run + 1, &index, &start);
}

void report_frame0() {
    if (frame0_reported) return;
    frame0_reported = true;
    if (config.on_frame) config.on_frame(0, false);
}

}  // namespace

struct PlatformWindow {};
struct PlatformMusic {
    int id;
};

void headless_configure(const HeadlessConfig& new_config) {
    config = new_config;
    clock_ms = config.clock_start_ms;
    run_starts.clear();
    script_frames = 0;
    sourced_frame = 0;
    sourced_run = InputRun{};
    for (const InputRun& run : config.script) {
        run_starts.push_back(script_frames + 1);
        script_frames += run.count;
    }
}

void headless_finish() { report_frame0(); }

std::vector<HeadlessEvent> headless_take_events() {
    std::vector<HeadlessEvent> taken;
    taken.swap(events);
    return taken;
}

const std::vector<std::string>& headless_release_log() { return release_log; }
uint64_t headless_frames_run() { return frames_run; }
void headless_set_clock(uint32_t ms) { clock_ms = ms; }
const std::vector<uint16_t>& headless_screen() { return screen; }
bool headless_clip_bound(int slot) { return slot >= 0 && slot < 8 && clip_bound[slot]; }
bool headless_music_loaded() { return music_loaded_count > 0; }
const std::vector<uint8_t>& headless_clip_samples(int slot) {
    static const std::vector<uint8_t> none;
    return slot >= 0 && slot < 8 ? clip_samples[slot] : none;
}
uint64_t headless_clip_plays(int slot) { return slot >= 0 && slot < 8 ? clip_plays[slot] : 0; }
int headless_music_plays() { return music_plays; }

// ---- Window and messages ------------------------------------------------------

PlatformWindow* platform_create_window(const char*, int, int) {
    static PlatformWindow window;
    return &window;
}

void platform_destroy_window(PlatformWindow* window) {
    if (window) release_log.push_back("window");
}

void platform_hide_cursor() {}

bool platform_take_message(PlatformMessage* message) {
    report_frame0();
    if (quit_posted) {
        quit_posted = false;
        *message = PlatformMessage{message_quit, false};
        return true;
    }
    uint64_t index, start;
    const InputRun* run = nullptr;
    bool input_over;
    if (config.frame_limit >= 0) {
        input_over = frames_run >= uint64_t(config.frame_limit);
        if (!input_over) run = run_for_frame(frames_run + 1, &index, &start);
    } else {
        run = run_for_frame(frames_run + 1, &index, &start);
        input_over = config.input_source ? !run : frames_run >= script_frames;
    }
    if (input_over) {
        if (stop_requested) return false;
        stop_requested = true;
        *message = PlatformMessage{message_close, false};
        return true;
    }
    if (run && run->escape && start == frames_run + 1 && escape_delivered_for_run != index) {
        escape_delivered_for_run = index;
        *message = PlatformMessage{message_key_down, true};
        return true;
    }
    return false;
}

void platform_post_quit() {
    release_log.push_back("quit");
    quit_posted = true;
}

void platform_wait_until(uint32_t) { clock_ms += 17; }

uint32_t platform_ticks_ms() { return clock_ms; }
uint32_t platform_calendar_seconds() { return config.seed; }

// ---- Input ----------------------------------------------------------------------

bool platform_read_keyboard(KeyboardState* keys) {
    const InputRun* run = current_run();
    *keys = run ? run->keys : KeyboardState{};
    return true;
}

// A joystick is always there; centred with no button it cannot be told from none.
bool platform_read_joystick(JoystickState* joystick) {
    const InputRun* run = current_run();
    *joystick = run ? run->joystick : JoystickState{0x8000, 0x8000, 0};
    return true;
}

// ---- Message boxes --------------------------------------------------------------

void platform_message_box(const char* text, const char* caption, bool) {
    events.push_back(HeadlessEvent{HeadlessEvent::box, text, caption, 0});
}

// ---- Screen -----------------------------------------------------------------------

bool platform_open_display(PlatformWindow* window, int width, int height) {
    if (config.display_fails || !window) return false;
    display_open = true;
    screen_width_px = width;
    screen.assign(size_t(width) * height, 0);
    return true;
}

void platform_present(const void* pixels, int pitch) {
    if (!display_open) return;
    const size_t rows = screen.size() / screen_width_px;
    for (size_t y = 0; y < rows; ++y)
        std::memcpy(&screen[y * screen_width_px], static_cast<const uint8_t*>(pixels) + y * pitch,
                    size_t(screen_width_px) * 2);
}

void platform_close_display() {
    if (!display_open) return;
    display_open = false;
    release_log.push_back("display");
}

// ---- Audio --------------------------------------------------------------------------

bool platform_audio_open(AudioDeviceFormat* format) {
    if (config.audio_fails) return false;
    audio_open = true;
    *format = AudioDeviceFormat{44100, AUDIO_S16SYS, 2};
    return true;
}

void platform_audio_close() {
    if (!audio_open) return;
    for (int slot = 0; slot < 8; ++slot) platform_clip_unbind(slot);
    audio_open = false;
    release_log.push_back("audio");
}

bool platform_clip_bind(int slot, const uint8_t* samples, uint32_t byte_count) {
    if (!audio_open || slot < 0 || slot >= 8) return false;
    clip_bound[slot] = true;
    clip_samples[slot].assign(samples, samples + byte_count);
    return true;
}

void platform_clip_unbind(int slot) {
    if (slot < 0 || slot >= 8) return;
    clip_bound[slot] = false;
    clip_samples[slot].clear();
}

void platform_clip_play(int slot) {
    if (slot >= 0 && slot < 8 && clip_bound[slot]) ++clip_plays[slot];
}

bool platform_music_open() {
    if (config.music_fails || !audio_open) return false;
    music_open = true;
    return true;
}

void platform_music_close() {
    if (!music_open) return;
    music_open = false;
    music_plays = 0;
    release_log.push_back("music");
}

PlatformMusic* platform_music_load(const uint8_t*, size_t) {
    if (!music_open) return nullptr;
    ++music_loaded_count;
    return new PlatformMusic{music_loaded_count};
}

void platform_music_play(PlatformMusic* music, int plays) {
    if (music_open && music) music_plays = plays;
}

void platform_music_stop() { music_plays = 0; }

void platform_music_free(PlatformMusic* music) {
    if (!music) return;
    music_plays = 0;
    --music_loaded_count;
    delete music;
}

// ---- Trace notes ------------------------------------------------------------------------

void platform_note_sheet(const char* path) { events.push_back({HeadlessEvent::sheet, path, "", 0}); }
void platform_note_se(int slot) { events.push_back({HeadlessEvent::se, "", "", slot}); }
void platform_note_voice(const char* path) { events.push_back({HeadlessEvent::voice, path, "", 0}); }
void platform_note_music(const char* path, bool loop) {
    events.push_back({HeadlessEvent::music, path, "", loop ? 1 : 0});
}
void platform_note_stop_music() { events.push_back({HeadlessEvent::stop_music, "", "", 0}); }

void platform_frame_finished(bool presented) {
    ++frames_run;
    if (config.on_frame) config.on_frame(frames_run, presented);
}
