// The host services the game stands on: one window with its message queue,
// the millisecond clock, the keyboard and the first joystick, message boxes,
// the screen, and the audio device. Each host under src/hosts/ provides them
// (the desktop on SDL, the headless one for the tools and tests, the browser);
// the game above this interface is the same code on all three.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- Window and message queue --------------------------------------------

struct PlatformWindow;

enum PlatformMessageKind {
    message_key_down,  // a key went down; `key_is_escape` tells which kind
    message_close,     // the user asked the window to close
    message_quit,      // the quit message posted by platform_post_quit
};

struct PlatformMessage {
    PlatformMessageKind kind;
    bool key_is_escape;
};

// Opens the game's one window (full screen or not is the host's choice).
// Returns null when no display can be opened; the caller does not look (the
// display start-up fails later).
PlatformWindow* platform_create_window(const char* title, int width, int height);
void platform_destroy_window(PlatformWindow* window);
void platform_hide_cursor();

// Takes the next waiting message without waiting for one.
bool platform_take_message(PlatformMessage* message);
void platform_post_quit();

// Blocks until a message is waiting or the clock reads `deadline_ms` (or just
// after), whichever comes first. The loop calls it instead of spinning.
void platform_wait_until(uint32_t deadline_ms);

// ---- Clock ------------------------------------------------------------------

uint32_t platform_ticks_ms();          // wraps round after 2^32 ms
uint32_t platform_calendar_seconds();  // seeds the random generator

// ---- Input ------------------------------------------------------------------

struct KeyboardState {
    bool up, down, left, right;
    bool enter, shift, ctrl, space;
};

struct JoystickState {
    uint16_t x, y;     // 0..0xFFFF, centre near 0x8000
    uint8_t buttons;   // bit n set: button n + 1 is down (buttons 1 to 4)
};

// A pad at rest: the stick centred, no button down.
constexpr JoystickState joystick_at_rest{0x8000, 0x8000, 0};

// False when the keyboard state cannot be read (then no key counts as down).
bool platform_read_keyboard(KeyboardState* keys);
// False when there is no joystick or it cannot be read.
bool platform_read_joystick(JoystickState* joystick);

// ---- Message boxes ----------------------------------------------------------

// Shows a modal box (UTF-8 text and caption) and returns when it is closed.
void platform_message_box(const char* text, const char* caption, bool error_icon);

// ---- Screen -----------------------------------------------------------------

bool platform_open_display(PlatformWindow* window, int width, int height);
// Shows a picture of RGB565 pixels; `pitch` is in bytes.
void platform_present(const void* pixels, int pitch);
void platform_close_display();

// ---- Audio device -----------------------------------------------------------

// Clips are bound to slots 0 .. sound_slot_count - 1, each slot one channel.
constexpr int sound_slot_count = 8;

// A clip's own sample format: little-endian PCM, 8-bit unsigned or 16-bit
// signed, channels interleaved.
struct ClipFormat {
    uint32_t rate;  // sample frames a second
    uint16_t bits_per_sample;
    uint16_t channels;
};

bool platform_audio_open();
void platform_audio_close();

// Binds a clip in its own format to a slot, replacing the slot's clip: 8-bit
// samples unsigned, 16-bit ones signed and little-endian on every machine, as
// in a WAV file. The host takes what it needs (converting it to its device's
// format or keeping it as it is) before this returns; false when it cannot,
// say because the converted clip would be too large, and the slot is then left
// without a clip.
bool platform_clip_bind(int slot, const uint8_t* samples, uint32_t byte_count, const ClipFormat& format);
// Stops the slot and forgets its clip.
void platform_clip_unbind(int slot);
// Plays the slot's clip once from its first sample, cutting off what the slot was playing.
void platform_clip_play(int slot);

struct PlatformMusic;

// Starts the MIDI engine; false when this build or machine cannot play MIDI at all.
bool platform_music_open();
void platform_music_close();
// Loads a standard MIDI file, already read and checked by the caller, from
// its bytes (copied); null when the engine cannot play it.
PlatformMusic* platform_music_load(const uint8_t* bytes, size_t size);
// Plays the piece from its start `plays` times in all, then falls silent.
void platform_music_play(PlatformMusic* music, int plays);
void platform_music_stop();
void platform_music_free(PlatformMusic* music);
