// The browser host: what the page's script provides (imports from the module
// "host") and what the web platform's files share with each other. Strings and
// buffers cross as offsets into the module's memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "hosts/shared/captions.h"

struct MenuValues;

#define WEB_IMPORT(name) __attribute__((import_module("host"), import_name(name)))
#define WEB_EXPORT(name) extern "C" __attribute__((export_name(name)))

extern "C" {
// The picture to show next; the page draws the latest one once a refresh.
WEB_IMPORT("present") void host_present(const void* pixels, int pitch);
WEB_IMPORT("open_display") int host_open_display(int width, int height);
WEB_IMPORT("close_display") void host_close_display();
// Opens the page's dialog; the page runs no game step until it is closed.
WEB_IMPORT("message_box") void host_message_box(const char* text, const char* caption, int error_icon);
WEB_IMPORT("calendar_seconds") uint32_t host_calendar_seconds();

WEB_IMPORT("audio_open") int host_audio_open();
WEB_IMPORT("audio_close") void host_audio_close();
// Makes the slot's sound from the clip in its own format; 0 when it cannot.
WEB_IMPORT("clip_bind")
int host_clip_bind(int slot, const uint8_t* samples, uint32_t byte_count, uint32_t rate, int bits, int channels);
WEB_IMPORT("clip_unbind") void host_clip_unbind(int slot);
WEB_IMPORT("clip_play") void host_clip_play(int slot);

WEB_IMPORT("music_open") int host_music_open();
WEB_IMPORT("music_close") void host_music_close();
// The rendered piece whose MIDI file has this hash and size: its number, or 0
// when the build rendered no such piece.
WEB_IMPORT("music_find") int host_music_find(uint32_t hash_high, uint32_t hash_low, uint32_t size);
WEB_IMPORT("music_play") void host_music_play(int piece, int plays);
WEB_IMPORT("music_stop") void host_music_stop();

// Test mode: a frame has run; the picture's hash in two halves.
WEB_IMPORT("frame_finished") void host_frame_finished(int presented, uint32_t hash_high, uint32_t hash_low);
}

// ---- Between the web platform's files ----

// The millisecond clock, set by the page before every step (web_window.cpp).
void web_set_clock(uint32_t ms);
// Whether the last step ended waiting, and the clock's reading when the next
// frame is due.
bool web_take_wait(uint32_t* due);

// The keys and the pad's taps since the last frame are spent (web_input.cpp).
void web_frame_shown();

// After each frame shown: what the phone's vibration follows (web_vibration.cpp).
void web_watch_vibration();

// For the page's tests (web_trace.cpp): from now on every frame reports its
// picture's hash and goes into the recording.
void web_trace_frames();
bool web_tracing();
// The game's seed is known: the recording starts.
void web_record_seed(uint32_t seed);
// An Escape of the player's went to the game.
void web_record_escape();

// Scripts (web_script.cpp): test mode's replay script plays, on a clock of
// its own; or a script plays, either that or a recording played back.
bool web_script_running();
bool web_script_seeded();
void web_script_waited();
uint32_t web_script_clock();
uint32_t web_script_seed();

// Watching a recording (web_viewer.cpp): from now on the playback is
// watched; the game's clock from the page's; when, by the page's clock, a
// frame due at `deadline_ms` of the game's is; whether the frame just run is
// shown; a seek back's restart, before a step.
void web_viewer_begin();
uint32_t web_viewer_clock(uint32_t page_ms);
uint32_t web_viewer_due(uint32_t page_ms, uint32_t deadline_ms);
bool web_viewer_shows_frame();
void web_viewer_before_step();

// The options (web_options.cpp): the overlay's font, null when it cannot be
// read; the captions' mode; the values kept (the keys and pad buttons); the
// text the page last wrote into the buffer.
const PixelFont* web_overlay_font();
CaptionMode web_caption_mode();
const MenuValues& web_menu_values();
const std::string& web_text();

// The player's records (web_records.cpp): whether they are kept (a page
// that could read them); the running edition's, with whether its best round
// is there to watch; after every frame, a round that ended updates them.
struct EditionRecords;
bool web_records_kept();
void web_records_show(EditionRecords* records, bool* best_round_kept);
void web_records_frame();

// The captions (web_captions.cpp): the game asked for a voice; a slot's clip
// was bound (its samples' format) or started.
void web_caption_voice_asked(const char* path);
void web_clip_bound(int slot, uint32_t byte_count, uint32_t rate, int bits, int channels);
void web_clip_played(int slot);
// From the start on, the game's observer is the page's (web_trace.cpp).
void web_observe();
